// Charts that cannot be drawn: above the surface limits nothing is drawn and
// every output fails without throwing; a chart whose drawing failed part way
// is broken for good and never hands out its partial picture.
#include <gtest/gtest.h>

#include <climits>
#include <new>

#include "chart/chart_test_util.h"

using namespace charttest;

namespace {

// Every output of the chart, each expected to fail.
void expectOutputsFail(BaseChart &chart, const char *what) {
  const MemBlock block = chart.makeChart2(BaseChart::PNG);
  EXPECT_EQ(block.len, 0) << what;
  EXPECT_EQ(block.data, nullptr) << what;
  const char *data = "x";
  int len = 7;
  EXPECT_FALSE(chart.makeChart2(BaseChart::GIF, &data, &len)) << what;
  EXPECT_EQ(data, nullptr) << what;
  EXPECT_EQ(len, 0) << what;
  EXPECT_FALSE(chart.makeChart("")) << what;
  EXPECT_EQ(chart.makeChart3(), nullptr) << what;
}

}  // namespace

TEST(ChartFailure, ChartsAboveTheSizeLimitsDrawNothingUntilMadeSmaller) {
  const struct {
    int width, height;
    bool byFactory;
  } sizes[] = {{100000, 100000, true}, {INT_MAX, INT_MAX, true}, {65536, 1, false},
               {16385, 16385, false},  {INT_MAX, 0, false}};
  for (const auto &s : sizes) {
    Chart chart = s.byFactory ? makeChart(s.width, s.height) : makeChart(5, 3);
    if (!s.byFactory) chart->setSize(s.width, s.height);
    expectOutputsFail(*chart, "oversized");
    EXPECT_EQ(chart->getDrawArea(), nullptr);
    EXPECT_EQ(chart->bodyCalls, 0);
    // Nothing was drawn, so a size within the limits still draws.
    chart->setSize(5, 3);
    DrawArea *area = chart->makeChart3();
    ASSERT_NE(area, nullptr);
    EXPECT_EQ(area->getWidth() * 10 + area->getHeight(), 53);
    EXPECT_EQ(chart->bodyCalls, 1);
    EXPECT_GT(chart->makeChart2(BaseChart::PNG).len, 0);
  }
  // A size below 1 still counts as 1.
  Chart tiny = makeChart(0, -4);
  ASSERT_NE(tiny->makeChart3(), nullptr);
  EXPECT_EQ(tiny->makeChart3()->getWidth() * 10 + tiny->makeChart3()->getHeight(), 11);
}

TEST(ChartFailure, AStageThatThrowsBreaksTheChartForGood) {
  // The body draws one pixel and then runs out of memory.
  Chart chart = makeChart(5, 3, kBlue);
  chart->body = [](DrawArea &area) {
    area.pixel(0, 0, kRed);
    throw std::bad_alloc();
  };
  expectOutputsFail(*chart, "first output");
  expectOutputsFail(*chart, "later output");
  EXPECT_EQ(chart->getHTMLImageMap("u", "", ""), nullptr);
  EXPECT_EQ(chart->getDrawArea(), nullptr);
  EXPECT_EQ(chart->bodyCalls, 1);  // never drawn again

  // A host object that throws while it draws breaks the chart too.
  struct Throwing final : DrawObj {
    void destroy() override { delete this; }
    void draw(DrawArea *) override { throw std::bad_alloc(); }
  };
  Chart hosted = makeChart(5, 3);
  EXPECT_NE(hosted->addDrawObj(new Throwing), nullptr);
  expectOutputsFail(*hosted, "throwing drawable");
  EXPECT_EQ(hosted->getHTMLImageMap("u", "", ""), nullptr);

  // The same charts without the failure draw and map as usual.
  Chart whole = makeChart(5, 3, kBlue);
  whole->body = [](DrawArea &area) { area.pixel(0, 0, kRed); };
  DrawArea *area = whole->makeChart3();
  ASSERT_NE(area, nullptr);
  EXPECT_EQ(area->getPixel(0, 0), kRed);
  EXPECT_NE(whole->getHTMLImageMap("u", "", ""), nullptr);
}
