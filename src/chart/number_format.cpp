// Number formatting. A number with a fraction is rounded as the shortest
// decimal that identifies it (std::to_chars without a precision), so 2.675
// rounds like the 2.675 it was written as, not like the 2.67499999... it is
// stored as; rounding half away from zero is then plain digit arithmetic,
// with a carry that may run into the integer part. Whole numbers, the only
// kind from 2^52 up, are written exactly, as "%.0f" would.
#include "chart/number_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iterator>

namespace quorvane {

namespace {

// Length of the character that starts at s[0]: a whole UTF-8 sequence when
// the bytes form one, else one byte.
size_t characterLength(std::string_view s) {
  const auto lead = static_cast<unsigned char>(s[0]);
  size_t n = 1;
  if (lead >= 0xC2 && lead <= 0xDF) n = 2;
  else if (lead >= 0xE0 && lead <= 0xEF) n = 3;
  else if (lead >= 0xF0 && lead <= 0xF4) n = 4;
  if (n > s.size()) return 1;
  for (size_t k = 1; k < n; ++k) {
    const auto c = static_cast<unsigned char>(s[k]);
    if (c < 0x80 || c > 0xBF) return 1;
  }
  return n;
}

// Adds one unit in the last place of the decimal digits; true when the carry
// runs out of the front (all digits were 9, and are now 0).
bool incrementDigits(char *digits, size_t n) {
  for (size_t k = n; k-- > 0;) {
    if (digits[k] != '9') {
      ++digits[k];
      return false;
    }
    digits[k] = '0';
  }
  return true;
}

// Writes the digits of the whole number i (>= 0) to buf; returns their count.
size_t wholeDigits(double i, char *buf, size_t size) {
  if (i < 1e19) {
    char tmp[24];
    char *p = tmp + sizeof tmp;
    uint64_t n = static_cast<uint64_t>(i);
    do {
      *--p = static_cast<char>('0' + n % 10);
      n /= 10;
    } while (n != 0);
    const size_t len = static_cast<size_t>(tmp + sizeof tmp - p);
    std::memcpy(buf, p, len);
    return len;
  }
  return static_cast<size_t>(
      std::to_chars(buf, buf + size, i, std::chars_format::fixed, 0).ptr - buf);
}

// Appends the integer digits with separator between groups of three.
void appendGrouped(std::string &out, const char *digits, size_t n, std::string_view separator) {
  if (separator.empty() || n <= 3) {
    out.append(digits, n);
    return;
  }
  const size_t group = n % 3 == 0 ? 3 : n % 3;
  out.append(digits, group);
  for (size_t k = group; k < n; k += 3) {
    out += separator;
    out.append(digits + k, 3);
  }
}

// The decimal digits of a number: text[0, intLen) the integer part, then
// fracLen digits of the fraction.
struct Digits {
  char text[400];
  size_t intLen = 0;
  size_t fracLen = 0;
};

// roundFraction when the product v * 10^places decides the digits, the common
// case; false when it does not. The shortest decimal S of v lies within half
// a unit in v's last place of v, and the rounded product within half a unit
// in its own of v * 10^places, so S * 10^places is within s * 2^-52 of the
// product s: where s lies further than that from a half, S rounds as s does.
bool roundFractionByProduct(double v, size_t places, Digits &d) {
  static constexpr uint64_t kPowers[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000,
                                         100000000};
  if (places >= std::size(kPowers)) return false;
  const double s = v * static_cast<double>(kPowers[places]);
  if (!(s < 0x1p52)) return false;
  const double whole = std::floor(s);
  const double aboveHalf = s - whole - 0.5;
  if (std::abs(aboveHalf) <= s * 0x1p-50) return false;
  const uint64_t rounded = static_cast<uint64_t>(whole) + (aboveHalf > 0 ? 1 : 0);
  d.intLen = wholeDigits(static_cast<double>(rounded / kPowers[places]), d.text, sizeof d.text);
  uint64_t fraction = rounded % kPowers[places];
  for (size_t k = places; k-- > 0; fraction /= 10)
    d.text[d.intLen + k] = static_cast<char>('0' + fraction % 10);
  d.fracLen = places;
  return true;
}

// The digits of v (1e-12 <= v < 2^52, with a fraction) rounded half away from
// zero to at most `places` decimals. The shortest form keeps the integer part
// exact and is short.
void roundFraction(double v, size_t places, Digits &d) {
  if (roundFractionByProduct(v, places, d)) return;
  char *digits = d.text;
  char *end = std::to_chars(digits + 1, digits + sizeof d.text, v, std::chars_format::fixed).ptr;
  char *pointAt = std::find(digits + 1, end, '.');
  d.intLen = static_cast<size_t>(pointAt - (digits + 1));
  std::memmove(digits, digits + 1, d.intLen);
  if (pointAt != end) {
    d.fracLen = static_cast<size_t>(end - pointAt - 1);
    std::memmove(digits + d.intLen, pointAt + 1, d.fracLen);
  }
  if (d.fracLen <= places) return;
  const bool roundsUp = digits[d.intLen + places] >= '5';
  d.fracLen = places;
  if (roundsUp && incrementDigits(digits, d.intLen + d.fracLen)) {
    // 99.99 became 00.00: one more integer digit.
    std::memmove(digits + 1, digits, d.intLen + d.fracLen);
    digits[0] = '1';
    ++d.intLen;
  }
}

}  // namespace

NumberFormat parseNumberFormat(std::string_view spec) {
  NumberFormat format;
  size_t k = 0;
  if (k < spec.size() && spec[k] == '|') ++k;
  if (k < spec.size() && spec[k] >= '0' && spec[k] <= '9') {
    int places = 0;
    for (; k < spec.size() && spec[k] >= '0' && spec[k] <= '9'; ++k)
      places = std::min(places * 10 + (spec[k] - '0'), NumberFormat::kMaxDecimals);
    format.decimals = places;
  }
  if (k < spec.size()) {
    const size_t n = characterLength(spec.substr(k));
    format.separator = spec.substr(k, n);
    k += n;
  }
  if (k < spec.size()) format.point = spec.substr(k, characterLength(spec.substr(k)));
  return format;
}

void appendNumber(std::string &out, double v, const NumberFormat &format) {
  if (std::isnan(v)) {
    out += "nan";
    return;
  }
  if (v < 0) {
    out += '-';
    v = -v;
  }
  if (std::isinf(v)) {
    out += "inf";
    return;
  }
  double i = std::floor(v);
  double f = v - i;  // exact: i and v share v's grid of representable values
  if (f > 0.999999999999) {
    i += 1;
    f = 0;
  } else if (f < 1e-12) {
    f = 0;
  }
  int places = format.decimals;
  bool trimZeros = false;
  if (places == NumberFormat::kAutomatic) {
    // A fraction negligible against the integer part is dropped; otherwise
    // up to six decimals without trailing zeros.
    if (i >= f * 100000000.0) {
      places = 0;
    } else {
      places = 6;
      trimZeros = true;
    }
  }
  const size_t shownPlaces = static_cast<size_t>(places);
  Digits d;
  if (f == 0)
    d.intLen = wholeDigits(i, d.text, sizeof d.text);
  else
    roundFraction(v, shownPlaces, d);
  size_t shown = shownPlaces;
  if (trimZeros) {
    shown = d.fracLen;
    while (shown > 0 && d.text[d.intLen + shown - 1] == '0') --shown;
  }
  if (format.separator.empty() && format.point.size() == 1 && shown <= d.fracLen) {
    // The common case in one append: the point goes between the digits.
    std::memmove(d.text + d.intLen + 1, d.text + d.intLen, shown);
    d.text[d.intLen] = format.point[0];
    out.append(d.text, d.intLen + (shown > 0 ? shown + 1 : 0));
    return;
  }
  appendGrouped(out, d.text, d.intLen, format.separator);
  if (shown > 0) {
    out += format.point;
    const size_t have = std::min(d.fracLen, shown);
    out.append(d.text + d.intLen, have);
    out.append(shown - have, '0');
  }
}

}  // namespace quorvane
