// The number formatter shared by label and image-map templates. A format spec
// is "|" (optional), decimal places (none: automatic), a thousands separator
// and a decimal point, each one character. Numbers round half away from zero
// at the requested precision, as the shortest decimal that identifies the
// double (2.675 gives 2.68); automatic precision shows whole numbers bare and
// others with up to six decimals.
#pragma once

#include <string>
#include <string_view>

namespace quorvane {

struct NumberFormat {
  // Decimal places, or kAutomatic.
  int decimals = kAutomatic;
  // One character each (a whole UTF-8 sequence where the format holds one);
  // no separator when empty.
  std::string_view separator;
  std::string_view point = ".";

  static constexpr int kAutomatic = -1;
  // More decimal places than this are taken as this many: beyond it a double
  // has no digits left to show, and the output stays bounded.
  static constexpr int kMaxDecimals = 30;
};

// Reads a spec (the text between a field name and its terminator). The views
// in the result point into spec.
NumberFormat parseNumberFormat(std::string_view spec);

// Appends v formatted by format. Negative numbers (not -0) get a leading "-",
// also when they round to zero; NaN is "nan" and infinities "inf" and "-inf".
void appendNumber(std::string &out, double v, const NumberFormat &format);

inline std::string formatNumber(double v, std::string_view spec) {
  std::string out;
  appendNumber(out, v, parseNumberFormat(spec));
  return out;
}

}  // namespace quorvane
