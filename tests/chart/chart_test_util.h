// Chart test helpers: a minimal chart type on the common pipeline (it counts
// its hook calls, adds the legend keys it is given at layout, draws an
// optional body and maps one rectangle) and text measured through the public
// DrawArea so that expected geometry follows the fonts, beside the shared
// helpers of test_util.h.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/base_chart_impl.h"
#include "chart/image_map.h"
#include "quorvane.h"
#include "test_util.h"

namespace charttest {

using testutil::Area;
using testutil::kBlack;
using testutil::kBlue;
using testutil::kGreen;
using testutil::kRed;
using testutil::kWhite;
using testutil::makeArea;
using testutil::pixels;
using testutil::rectText;
using testutil::ScratchDir;

class TestChart final : public quorvane::BaseChartImpl<BaseChart> {
 public:
  static TestChart *create(int width, int height, int bgColor, int edgeColor) {
    auto *chart = new TestChart;
    chart->core().create(width, height, bgColor, edgeColor);
    return chart;
  }

  int layoutCalls = 0;
  int bodyCalls = 0;
  // Keys the chart type adds to the legend at layout: text and colour.
  std::vector<std::pair<std::string, int>> layoutKeys;
  std::function<void(DrawArea &)> body;

 protected:
  void layoutChart() override {
    ++layoutCalls;
    if (LegendBox *legend = getLegend())
      for (const auto &[text, color] : layoutKeys) legend->addKey(text.c_str(), color);
  }
  void drawChartBody(DrawArea &area) override {
    ++bodyCalls;
    if (body) body(area);
  }
  bool appendImageMap(std::string &out, const char *url, const char *queryFormat,
                      const char *extraAttr) override {
    if (!core().isLaidOut()) return false;
    quorvane::ImageMapWriter map(url, queryFormat, "item={item}", extraAttr);
    map.addArea(quorvane::rectShape(1, 2, 3, 4),
                [](quorvane::LabelTemplate &t) { t.replaceText("{item}", "0"); });
    out += map.text();
    return true;
  }
};

using Chart = testutil::Owned<TestChart>;

inline Chart makeChart(int width, int height, int bg = static_cast<int>(0xFFFF0000u),
                       int edge = Transparent) {
  return Chart(TestChart::create(width, height, bg, edge));
}

// Width and height of text laid out as a text box or legend lays it out.
struct TextSize {
  int width = 0;
  int height = 0;
  int lineHeight = 0;
};
inline TextSize measure(const char *text, const char *font, double height, double width = 0,
                        double angle = 0) {
  Area a(DrawArea::create());
  TTFText *t = a->text4(text, font, 0, height, width, angle, 0);
  const TextSize size{t->getWidth(), t->getHeight(), t->getLineHeight()};
  a->close(t);
  return size;
}

}  // namespace charttest
