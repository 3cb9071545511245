// Template expansion. Each replacement rewrites the text in one pass: the old
// text becomes the input, and the output is built from input runs and
// inserted values, each byte with its source.
//
// Text and brace fields continue after what they insert. Ampersand fields are
// taken from the front of the text each time; since a field never spans two
// sources, only an empty insertion can make a new occurrence, where the bytes
// before and after it meet, so the pass steps back over the few bytes before
// such a seam instead of starting again. Each ampersand field consumes its two
// ampersands and at least the name, and the step back is shorter than the
// name, so the pass ends.
//
// The room for an insertion is the limit less the inserted bytes already in
// the output and those still ahead in the input: the text after the
// replacement is exactly those, so the limit holds at every step. Each input
// byte is counted once, as it is copied or dropped.
#include "chart/label_template.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "base/missing_value.h"
#include "chart/number_format.h"
#include "quorvane.h"

namespace quorvane {

void appendFieldNumber(std::string &out, double value, std::string_view spec) {
  if (!hasValue(value)) return;
  appendNumber(out, value, parseNumberFormat(spec));
}

namespace {

// Which bytes a query or an HTML attribute takes as they are.
struct PlainBytes {
  bool inQuery[256] = {};
  bool inAttribute[256] = {};
  constexpr PlainBytes() {
    for (int c = 0; c < 256; ++c) {
      inQuery[c] = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                   c == '-' || c == '.' || c == '_' || c == '~';
      inAttribute[c] = c != '&' && c != '<' && c != '>' && c != '"' && c != '\'';
    }
  }
};
constexpr PlainBytes kPlain;

// Appends value with each byte that plain[] rejects replaced by escape(out,
// byte); the runs between are appended whole.
template <class EscapeByte>
void appendWithEscapes(std::string &out, std::string_view value, const bool (&plain)[256],
                       EscapeByte escape) {
  size_t k = 0;
  while (k < value.size()) {
    size_t end = k;
    while (end < value.size() && plain[static_cast<unsigned char>(value[end])]) ++end;
    out.append(value.data() + k, end - k);
    if (end == value.size()) return;
    escape(out, static_cast<unsigned char>(value[end]));
    k = end + 1;
  }
}

}  // namespace

void appendQueryEscaped(std::string &out, std::string_view value) {
  appendWithEscapes(out, value, kPlain.inQuery, [](std::string &to, unsigned char c) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const char escaped[3] = {'%', kHex[c >> 4], kHex[c & 15]};
    to.append(escaped, 3);
  });
}

void appendHtmlEscaped(std::string &out, std::string_view value) {
  appendWithEscapes(out, value, kPlain.inAttribute, [](std::string &to, unsigned char c) {
    switch (c) {
      case '&': to += "&amp;"; break;
      case '<': to += "&lt;"; break;
      case '>': to += "&gt;"; break;
      case '"': to += "&quot;"; break;
      default: to += "&#39;";
    }
  });
}

bool isLeftAsIs(std::string_view text, Escape escape) {
  if (escape == Escape::kNone) return true;
  const bool(&plain)[256] = escape == Escape::kQuery ? kPlain.inQuery : kPlain.inAttribute;
  return std::all_of(text.begin(), text.end(),
                     [&plain](char c) { return plain[static_cast<unsigned char>(c)]; });
}

namespace {

// The longest prefix of value of at most room bytes that ends at a UTF-8
// sequence boundary: the cut backs off continuation bytes (10xxxxxx), at most
// three, the longest tail a sequence has.
size_t utf8PrefixLength(std::string_view value, size_t room) {
  if (room >= value.size()) return value.size();
  size_t n = room;
  for (int back = 0; back < 3 && n > 0 && (static_cast<unsigned char>(value[n]) & 0xC0) == 0x80;
       ++back)
    --n;
  return n;
}

}  // namespace

void LabelTemplate::assign(std::string_view text) {
  text_.assign(text);
  source_.assign(text.size(), kTemplate);
  nextSource_ = 1;
  inserted_ = 0;
}

void LabelTemplate::beginRewrite() {
  in_.swap(text_);
  inSource_.swap(source_);
  text_.clear();
  source_.clear();
  insertedAhead_ = inserted_;
  inserted_ = 0;
}

size_t LabelTemplate::insertedIn(size_t from, size_t to) const {
  const auto first = inSource_.begin();
  return static_cast<size_t>(std::count_if(first + static_cast<std::ptrdiff_t>(from),
                                           first + static_cast<std::ptrdiff_t>(to),
                                           [](Source s) { return s != kTemplate; }));
}

void LabelTemplate::copyInput(size_t from, size_t to) {
  text_.append(in_, from, to - from);
  source_.insert(source_.end(), inSource_.begin() + static_cast<std::ptrdiff_t>(from),
                 inSource_.begin() + static_cast<std::ptrdiff_t>(to));
  const size_t inserted = insertedIn(from, to);
  inserted_ += inserted;
  insertedAhead_ -= inserted;
}

void LabelTemplate::dropInput(size_t from, size_t to) { insertedAhead_ -= insertedIn(from, to); }

size_t LabelTemplate::appendInserted(std::string_view value, bool isWhole) {
  const size_t held = inserted_ + insertedAhead_;
  const size_t room = held < insertedLimit_ ? insertedLimit_ - held : 0;
  size_t n = utf8PrefixLength(value, room);
  if (isWhole && n < value.size()) n = 0;
  text_.append(value.data(), n);
  source_.insert(source_.end(), n, nextSource_++);
  inserted_ += n;
  return n;
}

bool LabelTemplate::isOneSource(size_t pos, size_t len) const {
  const auto first = inSource_.begin() + static_cast<std::ptrdiff_t>(pos);
  return std::all_of(first, first + static_cast<std::ptrdiff_t>(len),
                     [s = *first](Source t) { return t == s; });
}

void LabelTemplate::replaceText(std::string_view field, std::string_view value) {
  replaceField(field, value, false);
}

void LabelTemplate::replaceField(std::string_view field, std::string_view value, bool isWhole) {
  if (field.empty()) return;
  size_t k = text_.find(field);
  if (k == std::string::npos) return;
  beginRewrite();
  size_t from = 0;
  while (k != std::string::npos) {
    if (!isOneSource(k, field.size())) {
      k = in_.find(field, k + 1);
      continue;
    }
    copyInput(from, k);
    from = k + field.size();
    dropInput(k, from);
    appendInserted(value, isWhole);
    k = in_.find(field, from);
  }
  copyInput(from, in_.size());
}

void LabelTemplate::replaceNumber(std::string_view name, double value) {
  if (name.empty()) return;
  size_t k = text_.find(name);
  if (k == std::string::npos) return;
  beginRewrite();
  const size_t n = in_.size();
  size_t from = 0;
  // Both searches below only move forward, as k does, so a hostile text of
  // unclosed fields costs one scan: runEnd ends the run of one source that
  // holds the last k looked at, nextClose is the first "}" at or after the
  // last place searched (npos: none up to the end).
  size_t runEnd = 0;
  size_t nextClose = 0;
  bool isCloseKnown = false;
  while (k != std::string::npos) {
    const size_t after = k + name.size();
    size_t end = std::string::npos;  // the field's "}"
    if (after < n && isOneSource(k, name.size() + 1)) {
      if (in_[after] == '}') {
        end = after;
      } else if (in_[after] == '|') {
        if (k >= runEnd)
          for (runEnd = k; runEnd < n && inSource_[runEnd] == inSource_[k];) ++runEnd;
        if (!isCloseKnown || nextClose < after) {
          nextClose = in_.find('}', after);
          isCloseKnown = true;
        }
        if (nextClose < runEnd) end = nextClose;
      }
    }
    if (end == std::string::npos) {  // "{values}", or a format not closed in its own source
      k = in_.find(name, k + 1);
      continue;
    }
    number_.clear();
    appendFieldNumber(number_, value, std::string_view(in_).substr(after, end - after));
    copyInput(from, k);
    from = end + 1;
    dropInput(k, from);
    appendInserted(number_, true);
    k = in_.find(name, from);
  }
  copyInput(from, n);
}

void LabelTemplate::replacePercent(double percent) {
  constexpr std::string_view kPlain = "{percent}";
  bool isPlainInTemplate = false;
  for (size_t k = text_.find(kPlain); k != std::string::npos && !isPlainInTemplate;
       k = text_.find(kPlain, k + 1)) {
    const auto first = source_.begin() + static_cast<std::ptrdiff_t>(k);
    isPlainInTemplate = std::all_of(first, first + static_cast<std::ptrdiff_t>(kPlain.size()),
                                    [](Source s) { return s == kTemplate; });
  }
  if (!isPlainInTemplate) {
    replaceNumber("{percent", percent);
    return;
  }
  number_.clear();
  appendFieldNumber(number_, percent, "2");
  replaceField(kPlain, number_, true);  // replaceField leaves number_ alone
}

void LabelTemplate::replaceAmpersandNumber(std::string_view name, double value,
                                           std::string_view defaultSpec) {
  if (name.empty()) return;
  size_t k = text_.find(name);
  if (k == std::string::npos) return;
  beginRewrite();
  const size_t n = in_.size();
  const size_t stepBack = name.size() - 1;
  size_t from = 0;
  while (k != std::string::npos) {
    if (!isOneSource(k, name.size())) {
      k = in_.find(name, k + 1);
      continue;
    }
    const Source source = inSource_[k];
    const size_t after = k + name.size();
    size_t close = std::string::npos;
    if (after < n && (in_[after] == '&' || in_[after] == '|')) {
      // The format ends at the next "&"; the names begin with one, so this
      // search never passes the next occurrence.
      const size_t c = in_.find('&', after);
      if (c != std::string::npos && isOneSource(k, c + 1 - k)) close = c;
    }
    if (close == std::string::npos) {
      if (source == kTemplate) break;  // the template's own non-field ends the replacement
      k = in_.find(name, k + 1);
      continue;
    }
    const std::string_view spec = std::string_view(in_).substr(after, close - after);
    number_.clear();
    appendFieldNumber(number_, value, spec.empty() ? defaultSpec : spec);
    copyInput(from, k);
    from = close + 1;
    dropInput(k, from);
    if (appendInserted(number_, true) == 0) {
      // The last stepBack output bytes go back in front of the unread input
      // (into bytes the field used up: from > name.size() > stepBack), so an
      // occurrence that starts before the seam is found.
      const size_t t = std::min(stepBack, text_.size());
      const size_t movedInserted = static_cast<size_t>(
          std::count_if(source_.end() - static_cast<std::ptrdiff_t>(t), source_.end(),
                        [](Source s) { return s != kTemplate; }));
      inserted_ -= movedInserted;
      insertedAhead_ += movedInserted;
      from -= t;
      std::copy(text_.end() - static_cast<std::ptrdiff_t>(t), text_.end(),
                in_.begin() + static_cast<std::ptrdiff_t>(from));
      std::copy(source_.end() - static_cast<std::ptrdiff_t>(t), source_.end(),
                inSource_.begin() + static_cast<std::ptrdiff_t>(from));
      text_.resize(text_.size() - t);
      source_.resize(source_.size() - t);
    }
    k = in_.find(name, from);
  }
  copyInput(from, n);
}

void LabelTemplate::appendEscaped(std::string &out, Escape escape) const {
  if (escape == Escape::kNone) {
    out += text_;
    return;
  }
  const std::string_view text(text_);
  size_t k = 0;
  while (k < text.size()) {
    const bool isInserted = source_[k] != kTemplate;
    size_t end = k;
    while (end < text.size() && (source_[end] != kTemplate) == isInserted) ++end;
    const std::string_view run = text.substr(k, end - k);
    if (!isInserted) out += run;
    else if (escape == Escape::kQuery) appendQueryEscaped(out, run);
    else appendHtmlEscaped(out, run);
    k = end;
  }
}

}  // namespace quorvane
