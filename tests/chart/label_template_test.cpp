// Template expansion: field syntaxes, replacement orders, NoValue fields, and
// the escaping of inserted values for image maps.
#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <string>
#include <vector>

#include "chart/item_fields.h"
#include "chart/label_template.h"
#include "quorvane.h"

using quorvane::Escape;
using quorvane::LabelTemplate;

namespace {

std::string escaped(const LabelTemplate &t, Escape e) {
  std::string out;
  t.appendEscaped(out, e);
  return out;
}

}  // namespace

TEST(LabelTemplate, BraceNumberFields) {
  LabelTemplate t("{value}%");
  t.replaceNumber("{value", 12.5);
  EXPECT_EQ(t.text(), "12.5%");
  // Not fields: another name, a name at the very end, a spec without "}".
  for (const char *kept : {"{valueX}", "{values}", "{value", "a {value|2"}) {
    t.assign(kept);
    t.replaceNumber("{value", 3);
    EXPECT_EQ(t.text(), kept);
  }
  t.assign("{values} {value|2,} {value} {value|0}");
  t.replaceNumber("{value", 1234.5);
  EXPECT_EQ(t.text(), "{values} 1,234.50 1234.5 1235");
  // A numeric field holding NoValue expands to nothing.
  t.assign("v={value|2}&w={value}.");
  t.replaceNumber("{value", NoValue);
  EXPECT_EQ(t.text(), "v=&w=.");
}

TEST(LabelTemplate, TextFieldsAreNotRescanned) {
  LabelTemplate t("{x}-{x}-{xLabel}");
  t.replaceText("{x}", "{x}{x}");
  EXPECT_EQ(t.text(), "{x}{x}-{x}{x}-{xLabel}");
  t.replaceText("{xLabel}", "");
  EXPECT_EQ(t.text(), "{x}{x}-{x}{x}-");
}

TEST(LabelTemplate, PercentField) {
  LabelTemplate t("{percent}|{percent}");
  t.replacePercent(25);
  EXPECT_EQ(t.text(), "25.00|25.00");
  t.assign("{percent|1}% {percent|0}");
  t.replacePercent(12.25);
  EXPECT_EQ(t.text(), "12.3% 12");
  // With the plain form present, only the plain form is replaced.
  t.assign("{percent} {percent|1}");
  t.replacePercent(25);
  EXPECT_EQ(t.text(), "25.00 {percent|1}");
}

TEST(LabelTemplate, AmpersandFields) {
  LabelTemplate t("&value& and &value|1& and &value|0,&");
  t.replaceAmpersandNumber("&value", 1234.25, "");
  EXPECT_EQ(t.text(), "1234.25 and 1234.3 and 1,234");
  // An occurrence that is no field stops the replacement, and so does a spec
  // without its closing ampersand.
  t.assign("&values &value&");
  t.replaceAmpersandNumber("&value", 1, "");
  EXPECT_EQ(t.text(), "&values &value&");
  t.assign("&value& &value|2");
  t.replaceAmpersandNumber("&value", 1, "");
  EXPECT_EQ(t.text(), "1 &value|2");
  // A field that an empty replacement forms across the seam is found too,
  // as a search from the front would find it.
  t.assign("&va&value&lue&!");
  t.replaceAmpersandNumber("&value", NoValue, "");
  EXPECT_EQ(t.text(), "!");
}

TEST(LabelTemplate, EscapesInsertedValuesOnly) {
  // The host's template text (here with its own "&" and "<b>") stays as given.
  LabelTemplate t("n={dataSetName}&<b>v={value|2}");
  t.replaceText("{dataSetName}", "a\"b<c>&d e'~_.-Z9/%");
  t.replaceNumber("{value", 1234.5);
  EXPECT_EQ(escaped(t, Escape::kNone), "n=a\"b<c>&d e'~_.-Z9/%&<b>v=1234.50");
  EXPECT_EQ(escaped(t, Escape::kQuery),
            "n=a%22b%3Cc%3E%26d%20e%27~_.-Z9%2F%25&<b>v=1234.50");
  EXPECT_EQ(escaped(t, Escape::kAttribute),
            "n=a&quot;b&lt;c&gt;&amp;d e&#39;~_.-Z9/%&<b>v=1234.50");
  // A grouped number is a value too; UTF-8 is encoded byte by byte.
  t.assign("v={value|0,}&n={dataSetName}");
  t.replaceNumber("{value", 1234567);
  t.replaceText("{dataSetName}", "\xC3\xA9");
  EXPECT_EQ(escaped(t, Escape::kQuery), "v=1%2C234%2C567&n=%C3%A9");
  // A field expanded inside an inserted name counts as inserted.
  t.assign("{dataSetName}");
  t.replaceText("{dataSetName}", "<{value}>");
  t.replaceNumber("{value", 5);
  EXPECT_EQ(escaped(t, Escape::kAttribute), "&lt;5&gt;");
}

TEST(LabelTemplate, ReplacementOrdersOfEachItemKind) {
  LabelTemplate t;
  // Pie sectors, and the pie's drawn label (default and with specs).
  t.assign("sector={sector}&label={label}&value={value}&percent={percent}");
  quorvane::expandSectorFields(t, 2, "A&B", 1234.5, 25);
  EXPECT_EQ(t.text(), "sector=2&label=A&B&value=1234.5&percent=25.00");
  t.assign("&label&\n&percent&%");
  quorvane::expandSectorLabel(t, "A", 7, 25);
  EXPECT_EQ(t.text(), "A\n25.00%");
  t.assign("&label& &value|0,& (&percent|1&%)");
  quorvane::expandSectorLabel(t, "&value&", 1234.5, 12.25);
  EXPECT_EQ(t.text(), "1234.5 1,235 (12.3%)");
  // Legend keys.
  t.assign("{dataSet}:{dataSetName}");
  quorvane::expandLegendKeyFields(t, 4, "K{dataSet}");
  EXPECT_EQ(t.text(), "4:K{dataSet}");
}

TEST(LabelTemplate, FieldsNeverSpanTwoSources) {
  // Each case: a template, the text inserted for the first field, and what
  // the template becomes once every field of its kind is expanded. A value
  // may hold whole fields of its own; a field begun in one source and ended
  // in another (the template, or another value) is no field.
  constexpr const char *kProbe = "{value|\" onmouseover=alert(1) x=";
  struct Case {
    const char *templ;
    const char *label;
    const char *expanded;
  } cases[] = {
      {"title=\"{label}\" data-v={value} alt=\"{label}\"", kProbe,
       "title=\"{value|\" onmouseover=alert(1) x=\" data-v=12.5 "
       "alt=\"{value|\" onmouseover=alert(1) x=\""},
      {"v={value|{label}", "2}", "v={value|2}"},
      {"{label}{label}", "ue}{val", "ue}{value}{val"},
      {"<{label}>", "{value|1}", "<12.5>"},
      // The plain "{percent}" of a value does not switch the template's
      // formatted percentages to two decimals.
      {"{label} {percent|1}", "{percent}", "12.25 12.3"},
      {"{percent} {label}", "{percent}", "12.25 12.25"},
  };
  for (const Case &c : cases) {
    LabelTemplate t(c.templ);
    quorvane::expandSectorFields(t, 0, c.label, 12.5, 12.25);
    EXPECT_EQ(t.text(), c.expanded) << c.templ << " with " << c.label;
  }
  // Escaped, the probe stays text inside the host's quoted attribute.
  LabelTemplate t("title=\"{label}\" data-v={value}");
  quorvane::expandSectorFields(t, 0, kProbe, 12.5, 25);
  EXPECT_EQ(escaped(t, Escape::kAttribute),
            "title=\"{value|&quot; onmouseover=alert(1) x=\" data-v=12.5");

  // Drawn labels: the same rule for ampersand fields. A value's own whole
  // field is expanded; one that would need the template's "&" is not, and
  // does not stop the template's fields either.
  struct DrawnCase {
    const char *format;
    const char *label;
    const char *drawn;
  } drawn[] = {
      {"&label& (&value&)", "&value|\" x=", "&value|\" x= (12.5)"},
      {"&label&lue& &value|1&", "&va", "&value& 12.5"},
      {"&label&|1& &percent&%", "&value", "&value|1& 25.00%"},
      {"[&label&]", "&value|0& &percent&", "[13 25.00]"},
  };
  for (const DrawnCase &c : drawn) {
    t.assign(c.format);
    quorvane::expandSectorLabel(t, c.label, 12.5, 25);
    EXPECT_EQ(t.text(), c.drawn) << c.format << " with " << c.label;
  }
}

TEST(LabelTemplate, NonFiniteValuesExpandToNothing) {
  for (const double v : {NoValue, std::numeric_limits<double>::quiet_NaN(),
                         std::numeric_limits<double>::infinity(),
                         -std::numeric_limits<double>::infinity()}) {
    LabelTemplate t("[{value}|{value|2}]");
    t.replaceNumber("{value", v);
    EXPECT_EQ(t.text(), "[|]");
    t.assign("[&value&|&value|2&]");
    t.replaceAmpersandNumber("&value", v, "");
    EXPECT_EQ(t.text(), "[|]");
  }
}

namespace {

// The expansion rules written plainly: splice each field in place and, for
// ampersand fields, search again from the front after every replacement.
// Quadratic, and so only for short texts.
struct PlainTemplate {
  std::string text;
  std::vector<int> source;  // 0: the template
  int next = 1;
  // The inserted bytes the text may hold: a value that would pass it is cut
  // to the room left and back to the start of a UTF-8 sequence, a number
  // (whole) is left out.
  size_t limit = LabelTemplate::kMaxInsertedBytes;
  bool isNumber = false;  // the value being spliced is a number

  explicit PlainTemplate(const std::string &t) : text(t), source(t.size(), 0) {}
  size_t insertedOutside(size_t k, size_t len) const {
    size_t n = 0;
    for (size_t i = 0; i < source.size(); ++i) n += source[i] != 0 && (i < k || i >= k + len);
    return n;
  }
  std::string fitted(size_t k, size_t len, const std::string &value) const {
    const size_t held = insertedOutside(k, len);
    const size_t room = held < limit ? limit - held : 0;
    if (value.size() <= room) return value;
    if (isNumber) return "";
    size_t n = room;
    while (n > 0 && room - n < 3 && (static_cast<unsigned char>(value[n]) & 0xC0) == 0x80) --n;
    return value.substr(0, n);
  }
  bool oneSource(size_t k, size_t len) const {
    for (size_t i = k; i < k + len; ++i)
      if (source[i] != source[k]) return false;
    return true;
  }
  void splice(size_t k, size_t len, const std::string &whole) {
    const std::string value = fitted(k, len, whole);
    text.replace(k, len, value);
    source.erase(source.begin() + k, source.begin() + k + len);
    source.insert(source.begin() + k, value.size(), next++);
  }
  void replaceText(const std::string &field, const std::string &value) {
    for (size_t k = text.find(field); k != std::string::npos; k = text.find(field, k)) {
      if (!oneSource(k, field.size())) { ++k; continue; }
      const size_t before = text.size();
      splice(k, field.size(), value);
      k += text.size() + field.size() - before;
    }
  }
  void replaceNumber(const std::string &name, double v) {
    for (size_t k = text.find(name); k != std::string::npos; k = text.find(name, k)) {
      const size_t after = k + name.size();
      size_t end = std::string::npos;
      if (after < text.size() && oneSource(k, name.size() + 1)) {
        if (text[after] == '}') end = after;
        else if (text[after] == '|')
          for (size_t c = after; c < text.size() && source[c] == source[k]; ++c)
            if (text[c] == '}') { end = c; break; }
      }
      if (end == std::string::npos) { ++k; continue; }
      std::string number;
      quorvane::appendFieldNumber(number, v, text.substr(after, end - after));
      const size_t before = text.size();
      isNumber = true;
      splice(k, end + 1 - k, number);
      isNumber = false;
      k += text.size() + (end + 1 - k) - before;
    }
  }
  void replacePercent(double p) {
    bool plain = false;
    for (size_t k = text.find("{percent}"); k != std::string::npos; k = text.find("{percent}", k + 1))
      plain = plain || (oneSource(k, 9) && source[k] == 0);
    if (!plain) return replaceNumber("{percent", p);
    std::string number;
    quorvane::appendFieldNumber(number, p, "2");
    isNumber = true;
    replaceText("{percent}", number);
    isNumber = false;
  }
  void replaceAmpersandNumber(const std::string &name, double v, const std::string &defaultSpec) {
    size_t k = text.find(name);
    while (k != std::string::npos) {
      const size_t after = k + name.size();
      const size_t c = after < text.size() && (text[after] == '&' || text[after] == '|')
                           ? text.find('&', after) : std::string::npos;
      if (!oneSource(k, name.size())) {
        k = text.find(name, k + 1);
      } else if (c != std::string::npos && oneSource(k, c + 1 - k)) {
        const std::string spec = text.substr(after, c - after);
        std::string number;
        quorvane::appendFieldNumber(number, v, spec.empty() ? defaultSpec : spec);
        isNumber = true;
        splice(k, c + 1 - k, number);
        isNumber = false;
        k = text.find(name);  // from the front again
      } else if (source[k] == 0) {
        return;
      } else {
        k = text.find(name, k + 1);
      }
    }
  }
  std::string queryEscaped() const {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
      if (source[i] == 0) out += text[i];
      else quorvane::appendQueryEscaped(out, text.substr(i, 1));
    }
    return out;
  }
};

}  // namespace

TEST(LabelTemplate, OnePassExpansionMatchesThePlainRules) {
  // Seeded random templates and labels built from pieces of fields, so that
  // fields form, cross sources and meet across empty insertions.
  const char *const pieces[] = {"{value}", "{value|", "{value", "}", "{percent}", "{percent|1}",
                                "&value&", "&value|", "&value", "&", "|", "{label}", "&label&",
                                "&percent&", "x", "2", ",", "{", "&va", "lue&", "{val", "ue}"};
  std::mt19937 rng(11);
  auto randomText = [&](int most) {
    std::string t;
    for (int n = static_cast<int>(rng() % (most + 1)); n > 0; --n) t += pieces[rng() % std::size(pieces)];
    return t;
  };
  for (int round = 0; round < 20000; ++round) {
    const std::string templ = randomText(8);
    const std::string label = randomText(3);
    const double value = round % 3 == 0 ? NoValue : 1234.5;
    const double percent = round % 5 == 0 ? NoValue : 12.25;
    LabelTemplate fast(templ);
    PlainTemplate plain(templ);
    if (round % 2 == 0) {  // an image map's fields
      fast.replaceText("{label}", label);
      fast.replaceNumber("{value", value);
      fast.replacePercent(percent);
      plain.replaceText("{label}", label);
      plain.replaceNumber("{value", value);
      plain.replacePercent(percent);
    } else {  // a drawn label's
      fast.replaceText("&label&", label);
      fast.replaceAmpersandNumber("&value", value, "");
      fast.replaceAmpersandNumber("&percent", percent, "2");
      plain.replaceText("&label&", label);
      plain.replaceAmpersandNumber("&value", value, "");
      plain.replaceAmpersandNumber("&percent", percent, "2");
    }
    ASSERT_EQ(plain.text, fast.text()) << templ << " with " << label;
    ASSERT_EQ(plain.queryEscaped(), escaped(fast, Escape::kQuery)) << templ << " with " << label;
  }
}

TEST(LabelTemplate, InsertedBytesStayWithinTheLimit) {
  // The plain rules with small limits, on seeded random texts whose pieces
  // nest fields in values and hold two-, three- and four-byte sequences.
  const char *const pieces[] = {"{value}", "{value|1}", "{label}", "{percent}", "&value&",
                                "&value|", "&label&", "&", "}", "x", "\xC3\xA9", "\xE2\x82\xAC",
                                "\xF0\x9F\x98\x80", "&va", "lue&", "{val", "ue}"};
  std::mt19937 rng(23);
  auto randomText = [&](int most) {
    std::string t;
    for (int n = static_cast<int>(rng() % (most + 1)); n > 0; --n)
      t += pieces[rng() % std::size(pieces)];
    return t;
  };
  for (int round = 0; round < 20000; ++round) {
    const std::string templ = randomText(8);
    std::string label = randomText(4);
    if (round % 3 == 0) label = label + label + label;  // fields nested three deep
    const size_t limit = rng() % 24;
    LabelTemplate fast;
    fast.setInsertedLimit(limit);
    fast.assign(templ);
    PlainTemplate plain(templ);
    plain.limit = limit;
    if (round % 2 == 0) {
      fast.replaceText("{label}", label);
      fast.replaceText("{label}", label);  // a second pass reaches the labels' own fields
      fast.replaceNumber("{value", 1234.5);
      fast.replacePercent(12.25);
      plain.replaceText("{label}", label);
      plain.replaceText("{label}", label);
      plain.replaceNumber("{value", 1234.5);
      plain.replacePercent(12.25);
    } else {
      fast.replaceText("&label&", label);
      fast.replaceAmpersandNumber("&value", 1234.5, "");
      plain.replaceText("&label&", label);
      plain.replaceAmpersandNumber("&value", 1234.5, "");
    }
    ASSERT_EQ(plain.text, fast.text()) << templ << " with " << label << " limit " << limit;
    ASSERT_EQ(plain.queryEscaped(), escaped(fast, Escape::kQuery)) << templ << " with " << label;
    ASSERT_LE(fast.insertedBytes(), limit);
    ASSERT_LE(fast.text().size(), templ.size() + limit);
  }

  // Worked by hand: cuts fall between UTF-8 sequences, numbers go whole or
  // not at all, and the template's own text is kept.
  struct Case {
    size_t limit;
    const char *templ;
    const char *label;
    const char *expanded;
  } cases[] = {
      {7, "'{label}'", "\xE2\x82\xAC\xE2\x82\xAC\xE2\x82\xAC", "'\xE2\x82\xAC\xE2\x82\xAC'"},
      {5, "'{label}'", "ab\xF0\x9F\x98\x80", "'ab'"},
      {6, "'{label}' {value}", "abcd", "'abcd' "},      // 12.5 needs 4 bytes, 2 are left
      {8, "'{label}' {value}", "abcd", "'abcd' 12.5"},
      // The label is cut to "{value}{"; its field's bytes make room for 12.5.
      {8, "{label}!", "{value}{value}", "12.5{!"},
  };
  for (const Case &c : cases) {
    LabelTemplate t;
    t.setInsertedLimit(c.limit);
    t.assign(c.templ);
    t.replaceText("{label}", c.label);
    t.replaceNumber("{value", 12.5);
    EXPECT_EQ(t.text(), c.expanded) << c.templ << " limit " << c.limit;
  }
}

TEST(LabelTemplate, NestedFieldsCannotMultiplyTheText) {
  // An image map's order of fields: an x label of many "{x2Label}" fields,
  // an x2 label of many "{dataSetName}" fields and a long name would make
  // 400 * 400 * 4,000 bytes (640 MB) unbounded.
  std::string xLabel, x2Label;
  for (int k = 0; k < 400; ++k) xLabel += "{x2Label}";
  for (int k = 0; k < 400; ++k) x2Label += "{dataSetName}";
  const std::string name(4000, 'n');
  const std::string templ = "x={xLabel}&n={dataSetName}&v={value}";
  LabelTemplate t(templ);
  t.replaceText("{xLabel}", xLabel);
  EXPECT_EQ(xLabel.size(), t.insertedBytes());
  t.replaceText("{x2Label}", x2Label);
  t.replaceText("{dataSetName}", name);
  t.replaceNumber("{value", 7);
  EXPECT_EQ(LabelTemplate::kMaxInsertedBytes, t.insertedBytes());
  // The template's own text, less its three fields, is all there; its own
  // later fields find no room left.
  EXPECT_EQ(templ.size() - 28 + t.insertedBytes(), t.text().size());
  EXPECT_EQ(0u, t.text().rfind("x=nnn", 0));
  EXPECT_EQ(t.text().size() - 6, t.text().rfind("&n=&v="));
}
