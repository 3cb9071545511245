// Compiled templates against the passes they stand for: the same bytes for
// every template, value and escape, hostile ones included, and items the
// compiled form cannot write declined untouched.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "chart/compiled_template.h"
#include "chart/image_map.h"
#include "quorvane.h"

using namespace quorvane;

namespace {

constexpr TemplateField kFields[] = {
    {"{x}", false}, {"{xLabel}", false}, {"{name}", false}, {"{value", true}, {"{sum", true}};

std::string passes(std::string_view text, std::span<const FieldValue> values, Escape escape) {
  LabelTemplate t(text);
  expandFieldValues(t, kFields, values);
  std::string out;
  t.appendEscaped(out, escape);
  return out;
}

}  // namespace

TEST(CompiledTemplate, WritesWhatThePassesWriteOrDeclines) {
  // Each template, and whether it leaves a "{" outside the fields (by hand,
  // running the passes with values that hold none): such a template is not
  // compiled.
  const struct {
    std::string text;
    bool isCompiled;
  } templates[] = {
      {"x={x}&l={xLabel}&n={name}&v={value}", true}, {"{value|2,}|{sum|0}{value|3.,}{x}", true},
      {"", true}, {"a&b<'\">{xLabel}{name}{xLabel}", true}, {"{{x}}", false},
      {"{value|{x}}", false}, {"{val{x}ue}", false}, {"{xLa{name}bel}", false},
      {"{unknown}", false}, {"{values}{value", false}, {"{value|", false},
      {"{value|0{.}", true}, {"{x}}{", false}, {"{sum|1{}{xLabel}", true},
      {"é{x}ü{value|2\xC3\xA9,}", true}};
  const std::string big(40000, 'b'), wide(20001 * 2, '\xA9');
  std::string accents;
  for (int k = 0; k < 20000; ++k) accents += "é";
  const std::vector<std::string> texts = {
      "", "a&b c", "{x}", "{value}", "{value|", "}", "%\x01\xff", "é", "{sum|2}", big,
      accents + "x", wide};
  const double numbers[] = {0, 1234.5, -0.5, 2.675, NoValue, std::nan(""), 1e300, -1e-7};
  std::mt19937 random(7);
  int written = 0, declined = 0;
  std::vector<FieldValue> values(std::size(kFields));
  for (const auto &[text, isCompiled] : templates) {
    CompiledTemplate compiled(text, kFields);
    EXPECT_EQ(isCompiled, compiled.isCompiled()) << text;
    if (!compiled.isCompiled()) continue;
    for (int trial = 0; trial < 300; ++trial) {
      // Every int, both ends included, without overflowing on the way.
      values[0].setInt(static_cast<int>(static_cast<int64_t>(random()) - (int64_t{1} << 31)));
      values[1].setText(texts[random() % texts.size()]);
      values[2].setText(texts[random() % texts.size()]);
      values[3].setNumber(numbers[random() % std::size(numbers)]);
      values[4].setNumber(numbers[random() % std::size(numbers)]);
      for (Escape escape : {Escape::kNone, Escape::kQuery, Escape::kAttribute}) {
        std::string out = "<";
        if (!compiled.append(out, values, escape)) {
          EXPECT_EQ("<", out);
          ++declined;
          continue;
        }
        ASSERT_EQ("<" + passes(text, values, escape), out) << text;
        ++written;
      }
    }
  }
  // Both ways are taken often.
  EXPECT_GT(written, 2000);
  EXPECT_GT(declined, 1000);
}

TEST(CompiledTemplate, MapAreasMatchTheExpandedOnes) {
  // A polygon long enough to be written in several pieces; its text built
  // here from the rule.
  std::vector<int> shape;
  std::string coords;
  for (int k = 0; k < 41; ++k) {
    shape.push_back(k % 2 == 0 ? std::numeric_limits<int>::min() + k : k * 1001);
    if (k < 40) coords += (k > 0 ? "," : "") + std::to_string(shape.back());
  }
  EXPECT_EQ("shape=\"poly\" coords=\"" + coords + "\"", shapeFromInts(shape));
  std::vector<FieldValue> values(std::size(kFields));
  values[1].setText("<{x}>");
  values[3].setNumber(2.5);
  for (const char *query : {"", "?v={value}&n={name}", "l={xLabel}"}) {
    for (const char *extra : {"", "title='{value|1} {xLabel}'", "{nope}"}) {
      ImageMapWriter compiled("u.html", query, "x={x}", extra);
      ImageMapWriter expanded("u.html", query, "x={x}", extra);
      compiled.compile(kFields, 3);
      for (int x : {0, -1, 12}) {
        values[0].setInt(x);
        compiled.addArea(shape, values);
        expanded.addArea(shapeFromInts(shape),
                         [&](LabelTemplate &t) { expandFieldValues(t, kFields, values); });
      }
      EXPECT_EQ(expanded.text(), compiled.takeText()) << query << " " << extra;
    }
  }
}
