// Template expansion. Text fields are replaced in one pass; number fields
// one at a time, since each field carries its own spec. The ampersand syntax
// takes the first occurrence of its name each time; after a replacement the
// search resumes just far enough back that an occurrence formed across the
// seam is found, which is the same as searching from the front again. Each
// replacement removes two ampersands and inserts none, so it ends.
#include "chart/label_template.h"

#include "chart/number_format.h"
#include "quorvane.h"

namespace quorvane {

void appendFieldNumber(std::string &out, double value, std::string_view spec) {
  if (value == NoValue) return;
  appendNumber(out, value, parseNumberFormat(spec));
}

void appendQueryEscaped(std::string &out, std::string_view value) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (char ch : value) {
    const auto c = static_cast<unsigned char>(ch);
    const bool isUnreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                              (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' ||
                              c == '~';
    if (isUnreserved) {
      out += ch;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    }
  }
}

void appendHtmlEscaped(std::string &out, std::string_view value) {
  for (char ch : value) {
    switch (ch) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&#39;"; break;
      default: out += ch;
    }
  }
}

void LabelTemplate::assign(std::string_view text) {
  text_.assign(text);
  inserted_.assign(text.size(), '\0');
}

void LabelTemplate::splice(size_t pos, size_t len, std::string_view value) {
  text_.replace(pos, len, value);
  inserted_.replace(pos, len, value.size(), '\1');
}

void LabelTemplate::replaceText(std::string_view field, std::string_view value) {
  if (field.empty()) return;
  size_t k = text_.find(field);
  if (k == std::string::npos) return;
  scratchText_.clear();
  scratchInserted_.clear();
  size_t from = 0;
  for (; k != std::string::npos; k = text_.find(field, from)) {
    scratchText_.append(text_, from, k - from);
    scratchInserted_.append(inserted_, from, k - from);
    scratchText_ += value;
    scratchInserted_.append(value.size(), '\1');
    from = k + field.size();
  }
  scratchText_.append(text_, from);
  scratchInserted_.append(inserted_, from);
  text_.swap(scratchText_);
  inserted_.swap(scratchInserted_);
}

void LabelTemplate::replaceNumber(std::string_view name, double value) {
  if (name.empty()) return;
  size_t from = 0;
  for (size_t k; (k = text_.find(name, from)) != std::string::npos;) {
    const size_t after = k + name.size();
    from = after;
    if (after >= text_.size()) break;
    size_t close;
    if (text_[after] == '}') {
      close = after;
    } else if (text_[after] == '|') {
      close = text_.find('}', after);
      if (close == std::string::npos) break;
    } else {
      continue;  // "{values}" is not a field
    }
    number_.clear();
    appendFieldNumber(number_, value, std::string_view(text_).substr(after, close - after));
    splice(k, close + 1 - k, number_);
    from = k + number_.size();
  }
}

void LabelTemplate::replacePercent(double percent) {
  if (text_.find("{percent}") == std::string::npos) {
    replaceNumber("{percent", percent);
    return;
  }
  number_.clear();
  appendFieldNumber(number_, percent, "2");
  replaceText("{percent}", number_);
}

void LabelTemplate::replaceAmpersandNumber(std::string_view name, double value,
                                           std::string_view defaultSpec) {
  if (name.empty()) return;
  size_t from = 0;
  for (size_t k; (k = text_.find(name, from)) != std::string::npos;) {
    const size_t after = k + name.size();
    if (after >= text_.size() || (text_[after] != '&' && text_[after] != '|')) break;
    const size_t close = text_.find('&', after);
    if (close == std::string::npos) break;
    const std::string_view spec = std::string_view(text_).substr(after, close - after);
    number_.clear();
    appendFieldNumber(number_, value, spec.empty() ? defaultSpec : spec);
    splice(k, close + 1 - k, number_);
    from = k >= name.size() - 1 ? k - (name.size() - 1) : 0;
  }
}

void LabelTemplate::appendEscaped(std::string &out, Escape escape) const {
  if (escape == Escape::kNone) {
    out += text_;
    return;
  }
  const std::string_view text(text_);
  size_t k = 0;
  while (k < text.size()) {
    size_t end = k;
    const char kind = inserted_[k];
    while (end < text.size() && inserted_[end] == kind) ++end;
    const std::string_view run = text.substr(k, end - k);
    if (kind == '\0') out += run;
    else if (escape == Escape::kQuery) appendQueryEscaped(out, run);
    else appendHtmlEscaped(out, run);
    k = end;
  }
}

}  // namespace quorvane
