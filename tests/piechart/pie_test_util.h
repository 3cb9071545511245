// Pie test helpers beside the shared ones (test_util.h): pies made from
// values and the implementation behind a pie.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "piechart/pie_chart.h"
#include "quorvane.h"
#include "test_util.h"

namespace pietest {

using testutil::kBlack;
using testutil::kGreen;  // table entry 9: sector 1
using testutil::kRed;    // table entry 8: sector 0
using testutil::kWhite;
using testutil::parseArea;
using testutil::parseRect;
using testutil::Rect;
using testutil::str;

using Pie = testutil::Owned<PieChart>;

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

}  // namespace pietest
