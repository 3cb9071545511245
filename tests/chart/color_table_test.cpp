// The colour-table helpers: automatic data colours and how colour lists end.
// The default table as a chart sees it is checked in chart_pipeline_test.
#include <gtest/gtest.h>

#include <vector>

#include "chart/color_table.h"
#include "quorvane.h"

using namespace quorvane;

TEST(ColorTable, AutomaticColoursNeverWrapToTheBackground) {
  EXPECT_EQ(automaticDataColor(0), static_cast<int>(0xFFFF0008u));
  EXPECT_EQ(automaticDataColor(1), static_cast<int>(0xFFFF0009u));
  // The 17th colour is entry 24, outside the default table (Transparent).
  EXPECT_EQ(automaticDataColor(16), static_cast<int>(0xFFFF0018u));
  // Past the largest table: entry 0xFFFF, outside every table.
  EXPECT_EQ(automaticDataColor(0xFFF8), static_cast<int>(0xFFFFFFFFu));
  EXPECT_EQ(automaticDataColor(1 << 30), static_cast<int>(0xFFFFFFFFu));
}

TEST(ColorTable, ListsEndAtMinusOneOrAtTheirEnd) {
  DrawArea *a = DrawArea::create();
  setTableColors(*a, 0, kDefaultColorTable, 25);
  // An array that ends before any -1 is written up to its end (the table
  // grows with Transparent entries).
  const int two[] = {0x111111, 0x222222, -1};
  setTableColors(*a, 30, two, 2);
  EXPECT_EQ(a->getARGBColor(static_cast<int>(0xFFFF001Fu)), 0x222222);
  EXPECT_EQ(a->getARGBColor(static_cast<int>(0xFFFF0018u)), Transparent);
  // No -1 among the first 65535 entries: nothing at all.
  std::vector<int> endless(70000, 0x444444);
  setTableColors(*a, 0, endless.data(), endless.size());
  EXPECT_EQ(a->getARGBColor(static_cast<int>(0xFFFF0000u)), 0xFFFFFF);
  EXPECT_FALSE(colorListLength(endless.data(), endless.size()));
  endless[65534] = -1;
  EXPECT_EQ(colorListLength(endless.data(), endless.size()), 65534u);
  setTableColors(*a, 0, nullptr, 5);
  a->destroy();
}
