// The shared basics: the keypad arithmetic of alignments, saturating integer
// conversions, the classes of colour values and missing values, each against
// a table written out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

#include "base/alignment.h"
#include "base/colors.h"
#include "base/int_math.h"
#include "base/missing_value.h"

using namespace quorvane;

namespace {

constexpr int kIntMin = std::numeric_limits<int>::min();
constexpr int kIntMax = std::numeric_limits<int>::max();

}  // namespace

TEST(Alignment, EveryCodeNamesOneColumnAndOneRow) {
  // column: 0 left, 1 centre, 2 right; row: 0 top, 1 middle, 2 bottom.
  // Offsets are for a box 7 wide and 4 high: the truncated half, the last pixel.
  struct Case {
    int code;
    int column, row;
    int64_t dx, dy;
  };
  const Case cases[] = {
      {1, 0, 2, 0, 3}, {2, 1, 2, 3, 3}, {3, 2, 2, 6, 3},
      {4, 0, 1, 0, 2}, {5, 1, 1, 3, 2}, {6, 2, 1, 6, 2},
      {7, 0, 0, 0, 0}, {8, 1, 0, 3, 0}, {9, 2, 0, 6, 0},
      // Anything else acts as the top-left corner.
      {0, 0, 0, 0, 0}, {10, 0, 0, 0, 0}, {-1, 0, 0, 0, 0}, {-7, 0, 0, 0, 0},
      {kIntMin, 0, 0, 0, 0}, {kIntMax, 0, 0, 0, 0},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(normalAlignment(c.code), c.code >= 1 && c.code <= 9 ? c.code : AlignTopLeft);
    EXPECT_EQ(isLeftColumn(c.code), c.column == 0);
    EXPECT_EQ(isCentreColumn(c.code), c.column == 1);
    EXPECT_EQ(isRightColumn(c.code), c.column == 2);
    EXPECT_EQ(isTopRow(c.code), c.row == 0);
    EXPECT_EQ(isMiddleRow(c.code), c.row == 1);
    EXPECT_EQ(isBottomRow(c.code), c.row == 2);
    EXPECT_EQ(alignedOffsetX(c.code, 7), c.dx);
    EXPECT_EQ(alignedOffsetY(c.code, 4), c.dy);
  }
}

TEST(IntMath, ConversionsSaturateAtTheIntEdgesOnly) {
  const int64_t wide[][2] = {
      {-1, -1},
      {int64_t{kIntMax} + 1, kIntMax},
      {int64_t{kIntMin} - 1, kIntMin},
      {std::numeric_limits<int64_t>::min(), kIntMin},
  };
  for (const auto &c : wide) EXPECT_EQ(clampToInt(c[0]), c[1]) << c[0];
  const double inf = std::numeric_limits<double>::infinity();
  const double narrow[][2] = {
      {-2.9, -2}, {inf, kIntMax}, {-inf, kIntMin}, {std::nan(""), 0},
      {2147483646.75, kIntMax - 1}, {-2147483648.0, kIntMin},
  };
  for (const auto &c : narrow) EXPECT_EQ(truncToInt(c[0]), c[1]) << c[0];
}

TEST(Colors, TheTopBitsTellTableSpecialAndPlainColoursApartAndHowMuchShowsThrough) {
  struct Case {
    uint32_t value;
    bool table, special, opaque, invisible;
  };
  const Case cases[] = {
      {0x00FFFFFFu, false, false, true, false},  {0x01000000u, false, false, false, false},
      {kTransparent, false, false, false, true}, {0xFEFFFFFFu, false, false, false, false},
      {0xFFFDFFFFu, false, false, false, true},  {0xFFFE0000u, false, true, false, true},
      {0xFFFEFFFFu, false, true, false, true},   {0xFFFF0000u, true, false, false, true},
      {0xFFFFFFFFu, true, false, false, true},   {0x7FFE0000u, false, false, false, false},
  };
  for (const Case &c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(isTableColor(c.value), c.table);
    EXPECT_EQ(isSpecialColor(c.value), c.special);
    EXPECT_EQ(isNamedColor(c.value), c.table || c.special);
    EXPECT_EQ(isOpaque(c.value), c.opaque);
    EXPECT_EQ(isInvisible(c.value), c.invisible);
  }
  for (const uint32_t index : {0u, 0xFFFFu}) {
    EXPECT_EQ(colorIndex(tableColor(index)), index);
    EXPECT_EQ(colorIndex(specialColor(index)), index);
  }
}

TEST(MissingValue, NoValueNaNAndTheInfinitiesAreMissing) {
  const double inf = std::numeric_limits<double>::infinity();
  const double max = std::numeric_limits<double>::max();
  const double missing[] = {NoValue, std::nan(""), inf, -inf};
  const double present[] = {0.0, -0.0, -NoValue, max, -max, std::nextafter(NoValue, 0.0),
                            std::nextafter(NoValue, inf),
                            std::numeric_limits<double>::denorm_min()};
  for (const double v : missing) EXPECT_FALSE(hasValue(v)) << v;
  for (const double v : present) EXPECT_TRUE(hasValue(v)) << v;
}
