// Shapes of a smooth chart that meet edge to edge leave no seam: over a white
// background and in colours without green, any green in a pixel inside the
// chart's body is the background showing through.
#include <gtest/gtest.h>

#include <cmath>

#include "test_util.h"

namespace {

using namespace testutil;

int green(DrawArea *a, int x, int y) { return (a->getPixel(x, y) >> 8) & 255; }

const int kNoGreen[] = {0xFF0000, 0x0000FF, 0x800080, 0xC00040, 0x4000C0, 0x600000};

TEST(SmoothSeams, PieSectorsWithoutEdgeLinesMeetWithoutSeams) {
  // Without edge lines (Transparent), and with edges in the sector's own colour.
  for (const bool ownEdge : {false, true}) {
    SCOPED_TRACE(ownEdge ? "edge in the fill colour" : "no edge");
    Owned<PieChart> pie(PieChart::create(300, 300, kWhite, Transparent));
    pie->setAntiAlias(1);
    pie->setPieSize(150, 150, 120);
    const double values[] = {13, 7, 21, 5, 17, 11};
    pie->setData(6, values, nullptr);
    pie->setLabelFormat("");
    for (int i = 0; i < 6; ++i)
      pie->sector(i)->setColor(kNoGreen[i], ownEdge ? kNoGreen[i] : col(Transparent));
    DrawArea *a = pie->makeChart3();
    ASSERT_NE(a, nullptr);
    int worst = 0, partial = 0;
    for (int y = 0; y < 300; ++y)
      for (int x = 0; x < 300; ++x) {
        const double d = std::hypot(x + 0.5 - 150.5, y + 0.5 - 150.5);
        if (d <= 118.5) worst = std::max(worst, green(a, x, y));
        const int g = green(a, x, y);
        if (d > 118.5 && g > 0 && g < 255) ++partial;
      }
    EXPECT_LE(worst, 2);
    EXPECT_GT(partial, 500);  // the rim is smooth
  }
}

TEST(SmoothSeams, StackedAreaBandsMeetWithoutSeams) {
  Owned<XYChart> c(XYChart::create(320, 220, kWhite, Transparent));
  c->setAntiAlias(1);
  c->setPlotArea(40, 20, 260, 170, kWhite, -1, col(Transparent), col(Transparent),
                 col(Transparent));
  AreaLayer *layer = c->addAreaLayer2(Layer::Stack, 0);
  const double a[] = {30, 45, 20, 60, 40, 52}, b[] = {20, 10, 35, 15, 30, 8},
               d[] = {15, 25, 10, 20, 25, 33};
  layer->addDataSet(6, a, kNoGreen[0], "a");
  layer->addDataSet(6, b, kNoGreen[1], "b");
  layer->addDataSet(6, d, kNoGreen[2], "c");
  DrawArea *area = c->makeChart3();
  ASSERT_NE(area, nullptr);
  // In every column, from the first pixel the bands cover fully down to the
  // zero line, nothing of the background shows.
  int columns = 0;
  for (int x = 43; x <= 296; ++x) {
    int y = 20;
    while (y < 187 && green(area, x, y) > 2) ++y;
    if (y >= 187) continue;
    ++columns;
    for (; y <= 187; ++y) ASSERT_LE(green(area, x, y), 2) << x << "," << y;
  }
  EXPECT_GT(columns, 240);
}

}  // namespace
