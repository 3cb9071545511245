// Smooth shapes change pixels, never geometry: every kind of chart, built
// twice and drawn once aliased and once with setAntiAlias(1), gives the same
// image map, and both renderings decode as PNGs of the chart's size. Smooth
// mode also draws small text in grey levels, whose glyphs may reach a pixel
// further than one-bit ones; text boxes, and so label areas, keep the size of
// the text in the mode chosen for it.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "imageio/codec_test_util.h"
#include "test_util.h"

namespace {

using namespace testutil;

constexpr int kWidth = 360, kHeight = 260;

struct Drawn {
  std::string map;
  Bytes png;
};

// One chart type: builds its chart; the caller destroys it.
using Build = std::function<BaseChart *()>;

XYChart *plotted() {
  XYChart *c = XYChart::create(kWidth, kHeight, kWhite, Transparent);
  c->setPlotArea(50, 30, 260, 180, 0xF0F0F0, -1, kBlack, 0xC0C0C0, -1);
  const char *const labels[] = {"Mon", "Tue", "Wed", "Thu", "Fri"};
  c->xAxis()->setLabels(5, labels);
  return c;
}

const double kA[] = {42, 57, 31, 66, 48}, kB[] = {25, 38, 52, NoValue, 29};

// textMode -1 leaves the text mode as it is.
Drawn draw(const Build &build, int shapeMode, int textMode = -1) {
  Owned<BaseChart> chart(build());
  if (textMode >= 0) chart->getDrawArea()->setAntiAliasText(textMode);
  chart->setAntiAlias(shapeMode);
  Drawn out;
  out.png = bytesOf(chart->makeChart2(BaseChart::PNG));
  out.map = str(chart->getHTMLImageMap("d.html", "", "title='{value}'"));
  return out;
}

TEST(SmoothImageMap, MapIsTheSameWhetherShapesAreSmoothOrNot) {
  // Charts drawn only with lines along rows and columns and with rectangles
  // stay as they are; any slanted edge is smoothed.
  const struct {
    const char *name;
    bool isUpright;
    Build build;
  } charts[] = {
      {"side-by-side 3D bars", false,
       [] {
         XYChart *c = plotted();
         BarLayer *layer = c->addBarLayer2(Layer::Side, 10);
         layer->addDataSet(5, kA, -1, "a");
         layer->addDataSet(5, kB, -1, "b");
         return c;
       }},
      {"line with symbols", false,
       [] {
         XYChart *c = plotted();
         LineLayer *layer = c->addLineLayer2(Layer::Overlay, 0);
         layer->addDataSet(5, kA, 0xCC3300, "a")->setDataSymbol(CircleSymbol, 9, -1, -1);
         layer->addDataSet(5, kB, 0x0033CC, "b")->setDataSymbol(DiamondSymbol, 11, kWhite, -1);
         layer->setLineWidth(2);
         return c;
       }},
      {"stacked area", false,
       [] {
         XYChart *c = plotted();
         AreaLayer *layer = c->addAreaLayer2(Layer::Stack, 0);
         layer->addDataSet(5, kA, -1, "a");
         layer->addDataSet(5, kB, -1, "b");
         return c;
       }},
      {"HLOC", true,
       [] {
         XYChart *c = plotted();
         const double high[] = {70, 72, 68, 75, 71}, low[] = {50, 55, 49, 58, 52},
                      open[] = {55, 60, 66, 60, 70}, close[] = {65, 58, 52, 73, 55};
         c->addHLOCLayer(5, high, low, open, close, 0x008000);
         return c;
       }},
      {"flat pie with labels", false,
       [] {
         PieChart *c = PieChart::create(kWidth, kHeight, kWhite, Transparent);
         const double values[] = {25, 18, 15, 12, 30};
         const char *const labels[] = {"Labor", "Production", "Facilities", "Taxes", "R&D"};
         c->setPieSize(180, 130, 80);
         c->setData(5, values, labels);
         return c;
       }},
      {"3D exploded pie with side labels", false,
       [] {
         PieChart *c = PieChart::create(kWidth, kHeight, kWhite, Transparent);
         const double values[] = {25, 18, 15, 12, 30};
         const char *const labels[] = {"Labor", "Production", "Facilities", "Taxes", "R&D"};
         c->setPieSize(180, 120, 75);
         c->setData(5, values, labels);
         c->set3D(20, 45, false);
         c->sector(1)->setExplode(-1);
         c->sector(3)->setExplode(12);
         c->setLabelPos(25, kBlack);
         return c;
       }},
  };
  for (const auto &chart : charts) {
    SCOPED_TRACE(chart.name);
    const Drawn aliased = draw(chart.build, 0), smooth = draw(chart.build, 1);
    EXPECT_NE(aliased.map.find("<area "), std::string::npos) << aliased.map;
    EXPECT_EQ(aliased.map, smooth.map);
    const iotest::PngImage a = iotest::decodePng(aliased.png), s = iotest::decodePng(smooth.png);
    ASSERT_TRUE(a.ok && s.ok);
    EXPECT_EQ(a.width, kWidth);
    EXPECT_EQ(a.height, kHeight);
    EXPECT_EQ(s.width, kWidth);
    EXPECT_EQ(s.height, kHeight);
    EXPECT_NE(a.rgba, s.rgba);  // grey text, smooth shapes
    // With the text mode chosen, only slanted shapes change.
    const iotest::PngImage t = iotest::decodePng(draw(chart.build, 1, TTFText::AntiAliasAuto).png);
    EXPECT_EQ(chart.isUpright, a.rgba == t.rgba);
  }
}

}  // namespace
