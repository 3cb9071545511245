// The number formatter: spec grammar, rounding half away from zero at the
// requested precision, automatic precision, grouping and odd separators.
// Expected texts are worked out from the exact binary values by hand.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <limits>
#include <random>
#include <string>

#include "chart/number_format.h"

using quorvane::formatNumber;
using quorvane::NumberFormat;
using quorvane::parseNumberFormat;

TEST(NumberFormat, SpecGrammar) {
  // Digits, then one character each for separator and point; the rest is ignored.
  NumberFormat f = parseNumberFormat("|2.,xyz");
  EXPECT_EQ(f.decimals, 2);
  EXPECT_EQ(f.separator, ".");
  EXPECT_EQ(f.point, ",");
  f = parseNumberFormat("|,");  // no digits: automatic, with a separator
  EXPECT_EQ(f.decimals, NumberFormat::kAutomatic);
  EXPECT_EQ(f.separator, ",");
  EXPECT_EQ(f.point, ".");
  EXPECT_EQ(parseNumberFormat("03").decimals, 3);
  // A UTF-8 character of several bytes counts as one; a broken one is a byte.
  f = parseNumberFormat("|1\xE2\x80\x99\xC2\xB7");
  EXPECT_EQ(f.separator, "\xE2\x80\x99");
  EXPECT_EQ(f.point, "\xC2\xB7");
  f = parseNumberFormat("|1\xE2!");
  EXPECT_EQ(f.separator, "\xE2");
  EXPECT_EQ(f.point, "!");
  EXPECT_EQ(parseNumberFormat("|99999999999999999999").decimals, NumberFormat::kMaxDecimals);
}

TEST(NumberFormat, TextsWorkedOutByHand) {
  const struct {
    double value;
    const char *format, *text;
  } cases[] = {
      // Fixed precision with grouping, and odd separators.
      {1234567.891, "|2,.", "1,234,567.89"}, {1234567.891, "|0,", "1,234,568"},
      {1234567.891, "|2.,", "1.234.567,89"}, {1234567.891, "|2,", "1,234,567.89"},
      {1234567.891, "|2 ,", "1 234 567,89"}, {1234567.891, "|1'", "1'234'567.9"},
      {1234567.891, "|0\xE2\x80\x99", "1\xE2\x80\x99" "234\xE2\x80\x99" "568"},
      {-1234567.891, "|3,", "-1,234,567.891"}, {42, "|3", "42.000"}, {1234.5, "|,", "1,234.5"},
      // Halves round away from zero.
      {-2.5, "|0", "-3"}, {2.5, "|0", "3"}, {8.5, "|0", "9"}, {-8.5, "|0", "-9"},
      // Numbers round as the decimals they were written as: exact binary ties
      // (0.125, 2.25, 1.0625) and values stored just below a half (2.675 is
      // 2.67499999..., 1.005 is 1.00499999...) all go away from zero.
      {0.125, "|2", "0.13"}, {-0.125, "|2", "-0.13"}, {2.25, "|1", "2.3"},
      {1.0625, "|3", "1.063"}, {2.675, "|2", "2.68"}, {1.005, "|2", "1.01"},
      {1.45, "|1", "1.5"}, {1.44999, "|1", "1.4"}, {0.30000000000000004, "|2", "0.30"},
      // Negative numbers that round to zero keep their sign; -0 itself has none.
      {-0.001, "|0", "-0"}, {-0.0, "|2", "0.00"}, {-0.0, "", "0"},
      // Rounding carries into the integer part.
      {0.996, "|2", "1.00"}, {9.999, "|2", "10.00"}, {999999.9999, "|2,", "1,000,000.00"},
      {-99.96, "|1", "-100.0"}, {0.5, "|0", "1"}, {9.9999995, "|6", "10.000000"},
      {9.9999994, "|6", "9.999999"},
      // A fraction within 1e-12 of the next whole number is taken as it.
      {4.9999999999999, "|13", "5.0000000000000"},
      // Automatic precision: rounded at six decimals, trailing zeros and a
      // bare point dropped.
      {2.5, "", "2.5"}, {3, "", "3"}, {0, "", "0"}, {0.1, "", "0.1"}, {0.7, "", "0.7"},
      {12.5, "|", "12.5"}, {2.9999997, "", "3"}, {0.1234567, "", "0.123457"},
      {1.0000005, "", "1.000001"}, {0.0078125, "", "0.007813"},  // a tie at six places
      {1e-7, "", "0"}, {-1e-7, "", "-0"},
      // A fraction below a hundred-millionth of the integer part is dropped.
      {123456789.5, "", "123456790"}, {100000000.4, "", "100000000"},
      {12345678.9, "", "12345678.9"}, {-1234.5678, "|,", "-1,234.5678"},
  };
  for (const auto &c : cases)
    EXPECT_EQ(formatNumber(c.value, c.format), c.text) << c.value << " as " << c.format;
}

TEST(NumberFormat, GroupsOfThreeFromTheRight) {
  const char *expected[] = {"1",         "12",         "123",          "1,234",
                            "12,345",    "123,456",    "1,234,567",    "12,345,678",
                            "123,456,789", "1,234,567,890"};
  double v = 0;
  for (int digits = 1; digits <= 10; ++digits) {
    v = v * 10 + digits % 10;
    EXPECT_EQ(formatNumber(v, "|0,"), expected[digits - 1]) << digits;
  }
  EXPECT_EQ(formatNumber(1e20, "|0,"), "100,000,000,000,000,000,000");
}

TEST(NumberFormat, ExtremeValuesStayBounded) {
  const std::string big = formatNumber(1e300, "|2");
  EXPECT_EQ(big.size(), 301u + 3u);
  EXPECT_EQ(big.substr(0, 20), "10000000000000000525");
  EXPECT_EQ(big.substr(big.size() - 3), ".00");
  const std::string most = formatNumber(std::numeric_limits<double>::max(), "|0,");
  EXPECT_EQ(most.size(), 309u + 102u);
  EXPECT_EQ(formatNumber(0.5, "|99999"), "0.5" + std::string(NumberFormat::kMaxDecimals - 1, '0'));
  EXPECT_EQ(formatNumber(std::nan(""), "|2,"), "nan");
  EXPECT_EQ(formatNumber(INFINITY, "|2,"), "inf");
  EXPECT_EQ(formatNumber(-INFINITY, ""), "-inf");
  EXPECT_EQ(formatNumber(5e-324, "|2"), "0.00");
}

TEST(NumberFormat, RoundsTheShortestDecimalNearHalves) {
  // Values on both sides of x.xxxxx5 (and exactly there where a double holds
  // it) for 0 to 8 places, against the rule applied to the shortest decimal
  // text: cut after the places, add one in the last place when the next
  // digit is 5 or more.
  auto byRule = [](double v, int places) {
    char buf[64];
    std::string s(buf, std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed).ptr);
    if (s.find('.') == std::string::npos) s += '.';
    s += std::string(static_cast<size_t>(places) + 1, '0');
    const size_t cut = s.find('.') + static_cast<size_t>(places) + 1;
    const bool isUp = s[cut] >= '5';
    s.resize(cut);
    for (size_t k = s.size(); isUp && k-- > 0;) {
      if (s[k] == '.') continue;
      if (s[k] != '9') {
        ++s[k];
        break;
      }
      s[k] = '0';
      if (k == 0) s.insert(0, "1");
    }
    if (s.back() == '.') s.pop_back();
    return s;
  };
  std::mt19937_64 random(3);
  for (int trial = 0; trial < 200000; ++trial) {
    const int places = trial % 9;
    const double scale = std::pow(10.0, places);
    const double near =
        (static_cast<double>(random() % 2000000000) + 0.5) / scale * std::pow(10.0, trial % 5);
    const double v = std::nextafter(near, (trial / 9) % 3 == 0 ? 0.0 : 1e300);
    const double value = (trial / 9) % 3 == 2 ? near : v;
    if (value - std::floor(value) < 1e-11 || value - std::floor(value) > 0.99999999999) continue;
    ASSERT_EQ(byRule(value, places), formatNumber(value, std::to_string(places)))
        << value << " " << places;
  }
}
