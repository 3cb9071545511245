// Chart test helpers: a minimal chart type on the common pipeline (it counts
// its hook calls, adds the legend keys it is given at layout, draws an
// optional body and maps one rectangle), owning handles, and text measured
// through the public DrawArea so that expected geometry follows the fonts.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart/base_chart_impl.h"
#include "drawing/draw_test_util.h"
#include "chart/image_map.h"
#include "quorvane.h"

namespace charttest {

constexpr int kWhite = 0x00FFFFFF;
constexpr int kRed = 0x00FF0000;
constexpr int kGreen = 0x0000FF00;
constexpr int kBlue = 0x000000FF;
constexpr int kBlack = 0x00000000;

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

struct ChartDeleter {
  void operator()(BaseChart *c) const { c->destroy(); }
};
using Chart = std::unique_ptr<TestChart, ChartDeleter>;

inline Chart makeChart(int width, int height, int bg = static_cast<int>(0xFFFF0000u),
                       int edge = Transparent) {
  return Chart(TestChart::create(width, height, bg, edge));
}

using drawtest::Area;
using drawtest::makeArea;

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

// The whole picture, row-major.
inline std::vector<int> pixels(DrawArea *a) {
  std::vector<int> out;
  for (int y = 0; y < a->getHeight(); ++y)
    for (int x = 0; x < a->getWidth(); ++x) out.push_back(a->getPixel(x, y));
  return out;
}

inline std::string rectText(int l, int t, int r, int b) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "shape=\"rect\" coords=\"%d,%d,%d,%d\"", l, t, r, b);
  return buf;
}

// A scratch folder removed with its contents at the end of the test.
class ScratchDir {
 public:
  ScratchDir() {
    char name[] = "/tmp/quorvane-chart-XXXXXX";
    path_ = mkdtemp(name);
  }
  ~ScratchDir() { std::filesystem::remove_all(path_); }
  std::string file(const std::string &name) const { return (path_ / name).string(); }

 private:
  std::filesystem::path path_;
};

}  // namespace charttest
