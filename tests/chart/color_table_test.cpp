// The colour-table helpers on a bare area: list lengths, offsets, the
// automatic data colours.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "chart/color_table.h"
#include "quorvane.h"

using namespace quorvane;

namespace {

struct AreaDeleter {
  void operator()(DrawArea *a) const { a->destroy(); }
};
using Area = std::unique_ptr<DrawArea, AreaDeleter>;

Area tableArea() {
  Area a(DrawArea::create());
  setTableColors(*a, 0, kDefaultColorTable, 25);
  return a;
}

}  // namespace

TEST(ColorTable, DefaultTableAndAutomaticColours) {
  Area a = tableArea();
  EXPECT_EQ(a->getARGBColor(kBackgroundColor), 0xFFFFFF);
  EXPECT_EQ(a->getARGBColor(kLineColor), 0x000000);
  EXPECT_EQ(a->getARGBColor(kTextColor), 0x000000);
  EXPECT_EQ(a->getARGBColor(static_cast<int>(0xFFFF0007u)), 0x808080);
  // The n-th automatic colour is entry 8 + n: red, green, blue ...; the 17th
  // (entry 24) lies outside the default table and is Transparent.
  EXPECT_EQ(a->getARGBColor(automaticDataColor(0)), 0xFF0000);
  EXPECT_EQ(a->getARGBColor(automaticDataColor(1)), 0x00FF00);
  EXPECT_EQ(a->getARGBColor(automaticDataColor(2)), 0x0000FF);
  EXPECT_EQ(a->getARGBColor(automaticDataColor(15)), 0xCC9999);
  EXPECT_EQ(automaticDataColor(16), static_cast<int>(0xFFFF0018u));
  EXPECT_EQ(a->getARGBColor(automaticDataColor(16)), Transparent);
  int counter = 0;
  EXPECT_EQ(takeAutomaticDataColor(counter), kFirstDataColor);
  EXPECT_EQ(takeAutomaticDataColor(counter), static_cast<int>(0xFFFF0009u));
  EXPECT_EQ(counter, 2);
  // A counter past the largest table never wraps round to the background.
  EXPECT_EQ(automaticDataColor(0xFFF8), static_cast<int>(0xFFFFFFFFu));
  EXPECT_EQ(automaticDataColor(1 << 30), static_cast<int>(0xFFFFFFFFu));
}

TEST(ColorTable, ListsEndAtMinusOneOrAtTheirEnd) {
  Area a = tableArea();
  const int onlyEnd[] = {-1, 0x123456};
  setTableColors(*a, 0, onlyEnd, 2);
  EXPECT_EQ(a->getARGBColor(kBackgroundColor), 0xFFFFFF);
  // From entry 8 on, paramId given as a table colour; the -1 ends the list.
  const int two[] = {0x111111, 0x222222, -1, 0x333333};
  setTableColors(*a, kFirstDataColor, two, 4);
  EXPECT_EQ(a->getARGBColor(kFirstDataColor), 0x111111);
  EXPECT_EQ(a->getARGBColor(static_cast<int>(0xFFFF0009u)), 0x222222);
  EXPECT_EQ(a->getARGBColor(static_cast<int>(0xFFFF000Au)), 0x0000FF);
  // An array that ends before any -1 is written up to its end.
  setTableColors(*a, 30, two, 2);
  EXPECT_EQ(a->getARGBColor(static_cast<int>(0xFFFF001Eu)), 0x111111);
  EXPECT_EQ(a->getARGBColor(static_cast<int>(0xFFFF001Fu)), 0x222222);
  EXPECT_EQ(a->getARGBColor(static_cast<int>(0xFFFF0018u)), Transparent);  // grown
  // No -1 among the first 65535 entries: nothing at all.
  std::vector<int> endless(70000, 0x444444);
  setTableColors(*a, 0, endless.data(), endless.size());
  EXPECT_EQ(a->getARGBColor(kBackgroundColor), 0xFFFFFF);
  EXPECT_FALSE(colorListLength(endless.data(), endless.size()));
  endless[65534] = -1;
  EXPECT_EQ(colorListLength(endless.data(), endless.size()), 65534u);
  setTableColors(*a, 0, nullptr, 5);
}
