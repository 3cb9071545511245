// The value-axis scale: validation of user limits, linear and log scaling of
// data ranges, tick lists and pixel mapping, each row worked out by hand from
// the scaling rules; then hostile input, which must fail or stay bounded.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "xychart/value_scale.h"

using namespace quorvane;

namespace {

constexpr int kIntMax = std::numeric_limits<int>::max();
constexpr int kIntMin = std::numeric_limits<int>::min();
const double kNaN = std::nan(""), kInf = INFINITY;

void expectNear(double actual, double expected) {
  EXPECT_NEAR(actual, expected, 1e-9 * std::max(1.0, std::fabs(expected)));
}

// An axis with the given user settings scaled to min..max.
struct Axis {
  bool isLog = false;
  double lo = NoValue, hi = NoValue, step = NoValue, top = 0, bottom = 0;
  int density = 20, margin = 0, length = 100;
  double min = 0, max = 0;
  int requested = 0;
};

bool scaleAxis(ValueScale &s, const Axis &u) {
  u.isLog ? s.setLogScale2(u.lo, u.hi, u.step) : s.setLinearScale(u.lo, u.hi, u.step);
  s.setAutoScale(u.top, u.bottom);
  s.setTickDensity(u.density);
  s.setTopMargin(u.margin);
  return s.scale(u.min, u.max, u.requested, u.length);
}

}  // namespace

TEST(XyScale, UserLimitsAreValidatedAsStored) {
  struct { bool isLog; double lo, hi, step, expLo, expHi, expStep; } const cases[] = {
      {false, 0, 100, 0.5, 0, 100, 0.5}, {false, 0, 1000, 1, 0, 1000, NoValue},  // 200, 1000 steps
      {false, 0, 100, 0, 0, 100, NoValue}, {false, 5, 5, 1, NoValue, 5, 1},
      {false, 0, NoValue, 0.01, 0, NoValue, 0.01},  // no top: the step count is unknown
      {false, kNaN, 10, -2, NoValue, 10, NoValue},
      {true, 0, 100, 10, NoValue, 100, 10}, {true, 1, 100, 1, 1, 100, NoValue},
      {true, 1, 1e250, 10, 1, 1e250, 10}, {true, 1, 1e250, 1.1, 1, 1e250, NoValue},  // 250, 6040
      {true, 2, 2, 10, NoValue, 2, 10},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << c.isLog << " " << c.lo << ".." << c.hi << " by " << c.step);
    ValueScale s;
    c.isLog ? s.setLogScale2(c.lo, c.hi, c.step) : s.setLinearScale(c.lo, c.hi, c.step);
    EXPECT_EQ(s.isLog(), c.isLog);
    EXPECT_EQ(std::vector({s.userLower(), s.userUpper(), s.userStep()}),
              std::vector({c.expLo, c.expHi, c.expStep}));
    s.setLogScale(!c.isLog);
    EXPECT_EQ(s.isLog(), !c.isLog);
    EXPECT_EQ(std::vector({s.userLower(), s.userUpper(), s.userStep()}),
              std::vector({NoValue, NoValue, NoValue}));
  }
}

TEST(XyScale, DataRangesScaleToNiceTicks) {
  // Length 100 and density 20 give 5 intervals unless a row says otherwise;
  // the top tick's offset checks the scale, the bottom one always sits at 0.
  struct Case { const char *name; Axis u; int mode; std::vector<double> ticks; int top; };
  const Case cases[] = {
      {"raw step 1 becomes 2", {.max = 5}, 0, {0, 2, 4, 6}, 100},
      {"high minimum kept", {.min = 10, .max = 12}, 0, {10, 10.5, 11, 11.5, 12}, 100},
      {"low minimum to 0", {.min = 40, .max = 90}, 0, {0, 20, 40, 60, 80, 100}, 100},
      {"flat 7 widened", {.min = 7, .max = 7}, 0, {2, 4, 6, 8, 10, 12}, 100},
      {"flat 0", {.length = 80}, 0, {0, 50, 100}, 80},
      {"tick on zero", {.min = -3, .max = 7}, 0, {-5, 0, 5, 10}, 100},
      // Six intervals, 10/24 of them above zero: 2.5 rounds to 3.
      {"zero split", {.length = 120, .min = -14, .max = 10}, 0, {-15, -10, -5, 0, 5, 10}, 120},
      {"one interval across 0", {.min = -3, .max = 7, .requested = 1}, 0, {-10, 0, 10}, 100},
      {"count below 0", {.min = -45, .max = -5, .requested = 4}, 0, {-80, -60, -40, -20, 0}, 100},
      {"extensions", {.top = 0.2, .bottom = 0.2, .length = 80, .max = 80}, 0, {0, 50, 100, 150},
       80},
      {"extensions below 0", {.top = 0.2, .bottom = 0.2, .length = 80, .min = -80}, 0,
       {-150, -100, -50, 0}, 80},
      {"top margin", {.margin = 20, .max = 90}, 0, {0, 50, 100}, 80},
      {"user step", {.lo = 0, .hi = 45, .step = 10, .max = 1}, 0, {0, 10, 20, 30, 40, 50}, 100},
      {"limits and count", {.lo = 0, .hi = 100, .requested = 4}, 0, {0, 25, 50, 75, 100}, 100},
      {"lower, step, count", {.lo = 10, .step = 5, .requested = 4}, 0, {10, 15, 20, 25, 30}, 100},
      {"upper, step, count", {.hi = 50, .step = 5, .requested = 4}, 0, {30, 35, 40, 45, 50}, 100},
      {"top absorbed", {.lo = 0.3, .hi = 0.9, .requested = 2}, 0, {0.3, 0.6, 0.9}, 100},
      {"fine step dropped", {.lo = 0, .hi = 1000, .step = 1, .length = 80, .min = 10, .max = 20}, 0,
       {0, 500, 1000}, 80},
      {"limits, no data", {.lo = 0, .hi = 10, .length = 80, .min = NoValue, .max = NoValue}, 0,
       {0, 5, 10}, 80},
      {"log decades", {.isLog = true, .density = 0, .length = 120, .min = 1, .max = 1000}, 2,
       {1, 10, 100, 1000}, 120},
      {"log linear", {.isLog = true, .min = 1, .max = 3}, 0, {1, 1.5, 2, 2.5, 3}, 100},
      {"log 1-2-5", {.isLog = true, .length = 240, .min = 0.1, .max = 100}, 1,
       {0.1, 0.2, 0.5, 1, 2, 5, 10, 20, 50, 100}, 240},
      {"log whole pixels", {.isLog = true, .lo = 1, .hi = 1000, .step = 10}, 2, {1, 10, 100, 1000},
       99},
      {"log from 0", {.isLog = true, .length = 110, .max = 100}, 2, {0.01, 0.1, 1, 10, 100}, 108},
      {"log linear from 0", {.isLog = true, .min = 3, .max = 15}, 0, {1.5, 6.5, 11.5, 16.5}, 100},
      {"log count", {.isLog = true, .length = 120, .min = 1, .max = 1000, .requested = 4}, 2,
       {1, 10, 100, 1000, 10000}, 120},
      {"log limits and count", {.isLog = true, .lo = 0.2, .hi = 30, .requested = 2}, 2,
       {0.2, std::sqrt(6), 30}, 100},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    ValueScale s;
    ASSERT_TRUE(scaleAxis(s, c.u));
    EXPECT_EQ(s.logMode(), c.mode);
    std::vector<double> ticks = s.tickValues();
    ASSERT_EQ(ticks.size(), c.ticks.size());
    for (size_t i = 0; i < ticks.size(); ++i) expectNear(ticks[i], c.ticks[i]);
    EXPECT_EQ(s.coor(ticks.front()), 0);
    EXPECT_EQ(s.coor(ticks.back()), c.top);
  }
}

TEST(XyScale, ValuesAndCategoriesMapToPixels) {
  const Axis linear = {.length = 80};  // 0..100, 0.8 pixels a unit
  const Axis decades = {.isLog = true, .density = 0, .length = 120, .min = 1, .max = 1000};
  struct { Axis u; double v; int expected; } const cases[] = {
      {linear, 0.625, 1}, {linear, -0.625, -1},  // halves round away from zero
      {linear, 50, 40}, {linear, 1e308, kIntMax}, {linear, -1e308, kIntMin},
      {decades, 10, 40}, {decades, std::sqrt(1000), 60},  // 40 pixels a decade
      {decades, 0, -65535}, {decades, -1, -65536},
  };
  for (const auto &c : cases) {
    ValueScale s;
    ASSERT_TRUE(scaleAxis(s, c.u));
    EXPECT_EQ(s.coor(c.v), c.expected) << c.v;
  }
  EXPECT_EQ(ValueScale().coor(5), 0);

  // Ten categories 0..9: trunc(fraction of the span * (length - 0.0001)).
  struct { double v; int length; bool indent; int expected; } const slots[] = {
      {0, 200, true, 9}, {0, 201, true, 10}, {9, 200, true, 189},
      {0, 200, false, 0}, {4.5, 200, false, 99}, {9, 200, false, 199}};
  for (const auto &c : slots)
    EXPECT_EQ(categoryCoor(c.v, 0, 9, c.length, c.indent), c.expected) << c.v << " " << c.indent;
}

TEST(XyScale, HostileInputFailsOrStaysBounded) {
  const int kCap = ValueScale::kMaxTicks;
  struct { Axis u; int tickCount; } const cases[] = {  // a count of 0: the scaling fails
      {{.min = kNaN, .max = 5}, 0}, {{.max = kInf}, 0}, {{.min = -kInf, .max = kInf}, 0},
      {{.min = NoValue, .max = NoValue}, 0}, {{.min = 5, .max = 1}, 0},
      {{.min = -1e308, .max = 1e308}, 0}, {{.min = 1e300, .max = 1.7e308}, 0},  // overflow
      {{.isLog = true, .min = -5, .max = -1}, 0}, {{.lo = 100, .hi = 0, .requested = 4}, 0},
      {{.length = 0, .max = 5}, 2}, {{.length = -50, .max = 5}, 2},  // one interval: 0..10
      {{.density = -3, .max = 5}, 4},                                 // five: 0..6
      {{.max = 1, .requested = kIntMax}, kCap}, {{.density = 1, .length = kIntMax, .max = 1}, kCap},
      {{.step = 1e-9, .max = 1}, kCap}, {{.isLog = true, .step = 1.0000001, .max = 1e300}, kCap},
      {{.isLog = true, .density = 1, .length = 65535, .min = 1e-300, .max = 1e300}, 1801},
  };
  for (const auto &c : cases) {
    SCOPED_TRACE(testing::Message() << c.u.min << ".." << c.u.max << " length " << c.u.length);
    ValueScale s;
    EXPECT_EQ(scaleAxis(s, c.u), c.tickCount > 0);
    std::vector<double> ticks = s.tickValues();
    ASSERT_EQ(ticks.size(), size_t(c.tickCount));
    if (!ticks.empty()) {
      EXPECT_EQ(s.coor(ticks.front()), 0);
    }
  }
}
