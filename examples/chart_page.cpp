// The chart page: what every chart has, on a chart whose body is only a
// light grid (the pie and XY bodies plug into the same pipeline). Titles on
// all four edges, free text boxes at every alignment with their reference
// points marked, raised and sunken boxes, lines, the chart's legend with line
// and symbol keys, a second legend handed over as a host drawable, and dash,
// pattern and gradient colours. Written as chart_page.png into the folder
// given on the command line, with the legend's image map as chart_page.map,
// and drawn again with smooth shapes as chart_page_smooth.png and .map.
// The code lies between its snippet markers, which the demo index shows
// beside the picture.
#include <cstdio>
#include <string>

#include "chart/base_chart_impl.h"
#include "chart/legend_box.h"
#include "quorvane.h"

namespace {

// A chart type with a grid for a body and nothing to map.
class PageChart final : public quorvane::BaseChartImpl<BaseChart> {
 public:
  static PageChart *create(int width, int height, int bgColor, int edgeColor) {
    auto *chart = new PageChart;
    chart->core().create(width, height, bgColor, edgeColor);
    return chart;
  }

 protected:
  void layoutChart() override {}
  void drawChartBody(DrawArea &area) override {
    for (int x = 40; x < area.getWidth() - 30; x += 40) area.vline(40, area.getHeight() - 40, x, 0xE8E8E8);
    for (int y = 40; y < area.getHeight() - 30; y += 40) area.hline(40, area.getWidth() - 40, y, 0xE8E8E8);
  }
  bool appendImageMap(std::string &, const char *, const char *, const char *) override {
    return false;
  }
};

// A legend of the host's own, laid out and drawn when the chart draws it.
class HostLegend final : public DrawObj {
 public:
  quorvane::LegendBoxImpl legend;
  void destroy() override { delete this; }
  void draw(DrawArea *area) override {
    legend.setVisible(true);
    legend.layout(*area);
    legend.draw(area);
  }
};

void mark(BaseChart *chart, int x, int y) {
  chart->addLine(x - 4, y, x + 4, y, 0xC00000, 1);
  chart->addLine(x, y - 4, x, y + 4, 0xC00000, 1);
}

// Draws the page as <stem>.png with its legend's map as <stem>.map.
bool drawPage(const std::string &dir, const std::string &stem, bool isSmooth) {
  // [snippet chart_page]
  PageChart *chart = PageChart::create(720, 540, 0xFAFAF5, 0x404040);
  chart->setBackground(static_cast<int>(0xFFFF0000u), 0x404040, 2);

  // Titles: the top one on a gradient, the side ones turned.
  const int ramp = chart->gradientColor(0, 0, 719, 0, 0x2050A0, 0x80C0F0);
  chart->addTitle("Quorvane chart framework", "arialbd.ttf", 16, 0xFFFFFF, ramp, -1);
  chart->addTitle2(2, "titles, text boxes, lines, legends, special colours", "arial.ttf", 9,
                   0x404040, Transparent, Transparent);
  chart->addTitle2(4, "left title", nullptr, 10, 0x2050A0, 0xE0E8F8, 0x2050A0);
  chart->addTitle2(6, "right title", nullptr, 10, 0xA02050, 0xF8E0E8, 0xA02050);

  // One text box per alignment around the points of a 3 x 3 grid; the red
  // crosses are the positions given.
  for (int a = 1; a <= 9; ++a) {
    const int x = 150 + ((a - 1) % 3) * 110, y = 260 - ((a - 1) / 3) * 60;
    TextBox *box = chart->addText(x, y, ("align " + std::to_string(a)).c_str(), "arial.ttf", 9,
                                  0x202020, a, 0, false);
    box->setBackground(0xFFF4C0, 0xC0A040, 0);
    mark(chart, x, y);
  }
  // Raised, sunken, fixed-size and turned boxes; a two-line text.
  TextBox *raised = chart->addText(450, 110, "raised 3", "arialbd.ttf", 11, 0x000000, 7, 0, false);
  raised->setBackground(0xC0D8F0, 0x000000, 3);
  TextBox *sunken = chart->addText(570, 110, "sunken 3", "arialbd.ttf", 11, 0x000000, 7, 0, false);
  sunken->setBackground(0xC0D8F0, 0x000000, -3);
  TextBox *fixed = chart->addText(450, 170, "fixed 220 x 50, bottom right", "arial.ttf", 9,
                                  0x000000, 3, 0, false);
  fixed->setSize(220, 50);
  const int pixels[4] = {0xF0E0FF, 0xD0C0F0, 0xD0C0F0, 0xF0E0FF};
  fixed->setBackground(chart->patternColor(pixels, 2, 2, 0, 0), 0x6040A0, 0);
  TextBox *turned = chart->addText(610, 300, "turned 45", "arial.ttf", 11, 0x006000, 5, 45, false);
  turned->setBackground(Transparent, 0x006000, 0);
  TextBox *lines = chart->addText(450, 240, "two lines\nof text", "arial.ttf", 10, 0x000000, 7, 0,
                                  false);
  lines->setBackground(0xE0F0E0, -1, 1);
  lines->setMargin2(12, 12, 6, 6);

  // Lines: widths 1 to 4, a dashed one and a gradient one.
  for (int w = 1; w <= 4; ++w) chart->addLine(60, 330 + 12 * w, 260, 310 + 12 * w, 0x303030, w);
  chart->addLine(60, 400, 260, 400, chart->dashLineColor(0xC00000, 0x0A050305), 2);
  chart->addLine(60, 415, 260, 415, chart->gradientColor(60, 0, 260, 0, 0x00A000, 0x0000C0), 4);

  // The chart's legend: vertical, line keys with a dash colour and a symbol.
  LegendBox *legend = chart->addLegend(300, 330, true, "arial.ttf", 9);
  legend->setBackground(0xFFFFFF, -1, 1);
  DrawArea *symbol = DrawArea::create();
  symbol->setSize(7, 7, Transparent);
  symbol->circle(3, 3, 3, 3, 0x000000, 0xFFC000);
  legend->addKey("dashed line", chart->dashLineColor(0x2050A0, 0), 2, nullptr);
  legend->addKey("line with symbol", 0x008000, 1, symbol);
  legend->addKey("box key (line width 0)", static_cast<int>(0xFFFF0008u));
  legend->addKey("box key, table colour 9", static_cast<int>(0xFFFF0009u));

  // A host legend, horizontal, that wraps inside a fixed width.
  auto *host = new HostLegend;
  host->legend.setPos(470, 330);
  host->legend.setSize(220, 0);
  host->legend.setFontStyle("arial.ttf", 0);
  host->legend.setFontSize(9, 0);
  host->legend.setBackground(0xF0F0F0, 0x808080, 0);
  const char *names[] = {"North", "South", "East", "West", "Centre"};
  for (int i = 0; i < 5; ++i) host->legend.addKey(names[i], static_cast<int>(0xFFFF0008u) + i);
  chart->addDrawObj(host);
  // [/snippet]
  if (isSmooth) chart->setAntiAlias(DrawArea::SmoothQuarters);
  // [snippet chart_page]
  const std::string png = dir + "/" + stem + ".png";
  const bool ok = chart->makeChart(png.c_str());
  const char *map = legend->getHTMLImageMap("detail.html?chart=chart_page&legend=1", nullptr,
                                            "alt='{dataSetName}' title='{dataSetName}'");
  // [/snippet]
  if (FILE *f = std::fopen((dir + "/" + stem + ".map").c_str(), "w")) {
    std::fputs(map, f);
    std::fclose(f);
  }
  std::printf("%s.png %s\n", stem.c_str(), ok ? "written" : "FAILED");
  chart->destroy();
  symbol->destroy();
  return ok;
}

}  // namespace

int main(int argc, char **argv) {
  const std::string dir = argc > 1 ? argv[1] : ".";
  const bool aliased = drawPage(dir, "chart_page", false);
  const bool smooth = drawPage(dir, "chart_page_smooth", true);
  return aliased && smooth ? 0 : 1;
}
