// Pie test helpers: owning chart handles and access to the drawn picture.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "piechart/pie_chart.h"
#include "quorvane.h"

namespace pietest {

constexpr int kWhite = 0xFFFFFF;
constexpr int kRed = 0xFF0000;    // table entry 8: sector 0
constexpr int kGreen = 0x00FF00;  // table entry 9: sector 1
constexpr int kBlack = 0x000000;

struct PieDeleter {
  void operator()(PieChart *c) const { c->destroy(); }
};
using Pie = std::unique_ptr<PieChart, PieDeleter>;

inline Pie makePie(int width = 300, int height = 200) {
  return Pie(PieChart::create(width, height, static_cast<int>(0xFFFF0000u), Transparent));
}

inline Pie pieOf(const std::vector<double> &values, int width = 300, int height = 200) {
  Pie pie = makePie(width, height);
  pie->setData(static_cast<int>(values.size()), values.data(), nullptr);
  return pie;
}

inline quorvane::PieChartImpl &impl(const Pie &pie) {
  return static_cast<quorvane::PieChartImpl &>(*pie);
}

inline std::string str(const char *s) { return s != nullptr ? s : "<null>"; }

// The four rectangle values of a label's shape="rect" text.
struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
};
inline Rect parseRect(const char *shape) {
  Rect r;
  EXPECT_EQ(4, std::sscanf(shape, "shape=\"rect\" coords=\"%d,%d,%d,%d\"", &r.left, &r.top,
                           &r.right, &r.bottom))
      << str(shape);
  return r;
}

}  // namespace pietest
