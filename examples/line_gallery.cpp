// The line, area and HLOC gallery: lines with every data symbol, flat and 3D
// lines, plain and stacked areas flat and 3D, HLOC with and without open and
// close, and one chart combining bars, a line, an area and HLOC on two y
// axes, written as PNG into the folder given on the command line, aliased and
// smooth (<name>_smooth.png), with their image maps and lines.html showing
// every picture with its clickable map.
// The code of each chart lies between its snippet markers, which the demo
// index shows beside the picture. Only the published interface is used.
#include <cmath>
#include <functional>

#include "gallery_page.h"

namespace {

const char *const kDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun",
                             "Mon", "Tue", "Wed", "Thu", "Fri"};
constexpr int kDayCount = 12;
const double kA[] = {30, 42, 38, 55, 61, 58, 70, 66, 73, 80, 76, 88};
const double kB[] = {20, 25, 33, 29, 40, 46, 43, 52, 49, 57, 63, 60};
const double kC[] = {10, 14, 12, 19, 22, 18, 26, 30, 27, 33, 31, 36};
constexpr const char *kPointAttr =
    "alt='{dataSetName} {xLabel}' title='{dataSetName}, {xLabel}: {value}'";

void addChart(GalleryPage &page, const char *name, const char *title,
          const std::function<void(XYChart *)> &configure, const char *extraAttr = kPointAttr) {
  page.addXY(name, title, kDayCount, kDays, configure, extraAttr);
}

}  // namespace

int main(int argc, char **argv) {
  GalleryPage page(argc > 1 ? argv[1] : ".", "Quorvane line, area and HLOC gallery");
  // [snippet lines_symbols]
  addChart(page, "lines_symbols", "Lines with every data symbol", [](XYChart *c) {
    LineLayer *l = c->addLineLayer2(Layer::Overlay, 0);
    const char *const names[] = {"Square", "Diamond", "Triangle", "Left", "Right",
                                 "Inverted", "Circle", "Cross", "Cross2"};
    double values[kDayCount];
    for (int s = 0; s < 9; ++s) {
      for (int i = 0; i < kDayCount; ++i) values[i] = 10 + 10 * s + 4 * std::sin(i + s);
      DataSet *ds = l->addDataSet(kDayCount, values, -1, names[s]);
      ds->setDataSymbol(static_cast<SymbolType>(s + 1), 9, -1, -1);
    }
    // Nine keys stand in a column beside a narrower plot.
    c->setPlotArea(50, 50, 380, 240, 0xFFFFFF, -1, -1, 0xD8D8D8, -1);
    c->addLegend(445, 50, true, "", 8)->setBackground(Transparent, Transparent, 0);
  });
  // [/snippet]
  // [snippet lines_gap_labels]
  addChart(page, "lines_gap_labels", "A missing point, line widths and value labels",
           [](XYChart *c) {
             const double gap[] = {30, 42, 38, NoValue, 61, 58, 70, 66, 73, 80, 76, 88};
             LineLayer *l = c->addLineLayer(kDayCount, gap, 0x3366CC, "Visits", 0);
             l->setLineWidth(3);
             l->setDataLabelFormat("&value&");
             l->setDataLabelStyle("", 7, 0x202020, 0)->setAlignment(AlignBottomCentre);
           });
  // [/snippet]
  // [snippet lines_3d]
  addChart(page, "lines_3d", "3D lines, one ribbon behind the other", [](XYChart *c) {
    LineLayer *l = c->addLineLayer2(Layer::Overlay, 24);
    l->addDataSet(kDayCount, kA, -1, "A");
    l->addDataSet(kDayCount, kB, -1, "B");
    l->addDataSet(kDayCount, kC, -1, "C");
  });
  // [/snippet]
  // [snippet areas]
  addChart(page, "areas", "Areas through zero", [](XYChart *c) {
    const double swing[] = {12, 20, 8, -6, -14, -4, 10, 18, 6, -8, 4, 16};
    c->addAreaLayer(kDayCount, swing, 0x66AA66, "Balance", 0)
        ->setBorderColor(0x336633, 0);
  });
  // [/snippet]
  // [snippet areas_3d]
  addChart(page, "areas_3d", "An area in 3D", [](XYChart *c) {
    c->addAreaLayer(kDayCount, kA, 0x8888EE, "A", 12);
  });
  // [/snippet]
  // [snippet areas_stacked]
  addChart(page, "areas_stacked", "Stacked areas", [](XYChart *c) {
    AreaLayer *l = c->addAreaLayer2(Layer::Stack, 0);
    l->addDataSet(kDayCount, kA, -1, "A");
    l->addDataSet(kDayCount, kB, -1, "B");
    l->addDataSet(kDayCount, kC, -1, "C");
  });
  // [/snippet]
  // [snippet areas_stacked_3d]
  addChart(page, "areas_stacked_3d", "Stacked areas in 3D", [](XYChart *c) {
    AreaLayer *l = c->addAreaLayer2(Layer::Stack, 10);
    l->addDataSet(kDayCount, kA, -1, "A");
    l->addDataSet(kDayCount, kB, -1, "B");
    l->addDataSet(kDayCount, kC, -1, "C");
  });
  // [/snippet]
  const double high[] = {112, 115, 114, 118, 121, 120, 123, 122, 126, 125, 128, 130};
  const double low[] = {107, 109, 110, 112, 115, 116, 117, 118, 120, 121, 122, 124};
  const double open[] = {108, 113, 111, 114, 117, 119, 118, 121, 121, 124, 123, 126};
  const double close[] = {111, 111, 113, 117, 120, 117, 122, 119, 125, 122, 127, 129};
  constexpr const char *kHlocAttr = "alt='{xLabel}' title='{xLabel}: {low} to {high}'";
  // [snippet hloc]
  addChart(page, "hloc", "HLOC with open and close", [&](XYChart *c) {
    c->addHLOCLayer(kDayCount, high, low, open, close, 0x204080)->setLineWidth(2);
  }, kHlocAttr);
  // [/snippet]
  // [snippet hloc_high_low]
  addChart(page, "hloc_high_low", "High-low lines only", [&](XYChart *c) {
    c->addHLOCLayer(kDayCount, high, low, nullptr, nullptr, -1);
  }, kHlocAttr);
  // [/snippet]
  // [snippet combined]
  addChart(page, "combined", "Bars, a line and an area on two y axes", [&](XYChart *c) {
    LineLayer *line = c->addLineLayer2(Layer::Overlay, 0);
    line->setLineWidth(2);
    line->addDataSet(kDayCount, kB, 0xCC3333, "Price (right)")->setUseYAxis2(true);
    c->addBarLayer(kDayCount, kA, 0x88AADD, "Volume", 0);
    c->addAreaLayer(kDayCount, kC, 0xBBDDBB, "Base", 0);
    c->yAxis2()->setTitle("Price", "", 9, 0x000000);
    c->yAxis()->setTitle("Vol.", "", 9, 0x000000);
  });
  // [/snippet]
  return page.finish("lines.html") ? 0 : 1;
}
