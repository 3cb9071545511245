// A chart's options object: one per chart, handed out by both chart types,
// pointing back at its chart and reading the smooth mode the chart was given.
#include <gtest/gtest.h>

#include "test_util.h"

namespace {

using namespace testutil;

TEST(ChartOptions, BelongsToItsChartAndReadsItsSmoothMode) {
  XYChart *xy = XYChart::create(200, 100, kWhite, Transparent);
  PieChart *pie = PieChart::create(200, 100, kWhite, Transparent);
  ASSERT_NE(xy->options(), pie->options());
  for (BaseChart *chart : {static_cast<BaseChart *>(xy), static_cast<BaseChart *>(pie)}) {
    ChartOptions *options = chart == xy ? xy->options() : pie->options();
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->getChart(), chart);
    EXPECT_EQ(options->getAntiAlias(), DrawArea::SmoothOff);
    // Any mode but off and fine draws in quarters, and reads back as such.
    const struct { int given, read; } modes[] = {
        {DrawArea::SmoothFine, DrawArea::SmoothFine}, {7, DrawArea::SmoothQuarters},
        {-1, DrawArea::SmoothQuarters}, {DrawArea::SmoothOff, DrawArea::SmoothOff}};
    for (const auto &m : modes) {
      chart->setAntiAlias(m.given);
      EXPECT_EQ(options->getAntiAlias(), m.read) << m.given;
    }
  }
  EXPECT_EQ(xy->options(), xy->options());
  xy->destroy();
  pie->destroy();
}

}  // namespace
