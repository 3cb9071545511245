// Fuzzes the template engine and the number formatter. Input: eight bytes of
// a double, one byte choosing the field kinds, then a template and a second
// text (a spec or a text value) separated by a NUL. Checks that nothing
// crashes or reads out of bounds (the sanitizers) and that every output stays
// within a bound set by the input's size.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "chart/image_map.h"
#include "chart/label_template.h"
#include "chart/number_format.h"

namespace {

// The longest number: a sign, 309 digits, 102 separators and a point of up
// to four bytes each, and the largest number of decimals.
constexpr size_t kMaxNumberLength = 1 + 309 + 102 * 4 + 4 + quorvane::NumberFormat::kMaxDecimals;

void check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
  if (size < 9) return 0;
  double value;
  std::memcpy(&value, data, sizeof value);
  const uint8_t kinds = data[8];
  const std::string_view rest(reinterpret_cast<const char *>(data) + 9, size - 9);
  const size_t nul = rest.find('\0');
  const std::string_view templ = rest.substr(0, nul);
  const std::string_view second = nul == std::string_view::npos ? "" : rest.substr(nul + 1);

  const std::string number = quorvane::formatNumber(value, second);
  check(number.size() <= kMaxNumberLength);

  quorvane::LabelTemplate t(templ);
  if (kinds & 1) t.replaceText("{dataSetName}", second);
  if (kinds & 2) t.replaceText("&label&", second);
  t.replaceNumber("{value", value);
  if (kinds & 4) t.replacePercent(value);
  t.replaceAmpersandNumber("&value", value, "");
  t.replaceAmpersandNumber("&percent", value, (kinds & 8) ? "2" : "");
  // Each field of the template, or of a text value inserted once per field,
  // becomes at most one number.
  const size_t fields = templ.size() * (second.size() + 1) + 1;
  check(t.text().size() <= fields * (kMaxNumberLength + second.size() + 1));

  std::string out;
  for (quorvane::Escape e :
       {quorvane::Escape::kNone, quorvane::Escape::kQuery, quorvane::Escape::kAttribute}) {
    out.clear();
    t.appendEscaped(out, e);
    check(out.size() <= t.text().size() * 6);
  }

  const std::string templText(templ);
  quorvane::ImageMapWriter map((kinds & 16) ? "u.php" : "", templText.c_str(), "x={value}",
                               (kinds & 32) ? templText.c_str() : "");
  map.addArea(quorvane::rectShape(0, 0, 1, 1), [&](quorvane::LabelTemplate &area) {
    area.replaceText("{dataSetName}", second);
    area.replaceNumber("{value", value);
  });
  return 0;
}
