// Compiled image-map templates. Compiling runs the passes on the template
// alone: each pass splits the literal runs at its field's occurrences, found
// as LabelTemplate finds them in a run of one source (searching on after each
// field, a number format closed by the first "}" in the same run). Values
// never join runs here: a value holding "{" or cut to fit is declined, and an
// empty one could only join runs into a new field through a "{" outside the
// fields, which a compiled template has none of.
#include "chart/compiled_template.h"

#include <charconv>

#include "base/missing_value.h"

namespace quorvane {

void FieldValue::setInt(int v) {
  digitCount_ = static_cast<unsigned char>(
      std::to_chars(digits_, digits_ + sizeof digits_, v).ptr - digits_);
  isDigits_ = true;
}

void expandFieldValues(LabelTemplate &t, std::span<const TemplateField> fields,
                       std::span<const FieldValue> values) {
  for (size_t j = 0; j < fields.size(); ++j) {
    if (fields[j].isNumber) t.replaceNumber(fields[j].name, values[j].number());
    else t.replaceText(fields[j].name, values[j].text());
  }
}

CompiledTemplate::CompiledTemplate(std::string_view text, std::span<const TemplateField> fields) {
  pieces_.push_back(Piece{text, -1, false, {}});
  for (size_t j = 0; j < fields.size(); ++j) splitAt(j, fields[j]);
  isCompiled_ = true;
  for (const Piece &piece : pieces_)
    if (piece.literal.find('{') != std::string_view::npos) isCompiled_ = false;
  numbers_.resize(pieces_.size());
}

void CompiledTemplate::splitAt(size_t field, const TemplateField &f) {
  constexpr size_t npos = std::string_view::npos;
  const std::string_view name = f.name;
  if (name.empty()) return;
  std::vector<Piece> split;
  for (const Piece &piece : pieces_) {
    const std::string_view run = piece.literal;
    size_t from = 0;
    for (size_t k = run.find(name); k != npos;) {
      const size_t after = k + name.size();
      size_t end = after - 1;  // a text field's last byte
      if (f.isNumber) {
        end = npos;
        if (after < run.size() && run[after] == '}') end = after;
        else if (after < run.size() && run[after] == '|') end = run.find('}', after);
        if (end == npos) {  // "{values}", or a format not closed in this run
          k = run.find(name, k + 1);
          continue;
        }
      }
      Piece head{run.substr(from, k - from), static_cast<int>(field), f.isNumber, {}};
      if (f.isNumber) {
        head.format = parseNumberFormat(run.substr(after, end - after));
        head.isBraceInFormat = head.format.separator == "{" || head.format.point == "{";
        for (Escape escape : {Escape::kNone, Escape::kQuery, Escape::kAttribute})
          head.isPlainIn[static_cast<size_t>(escape)] =
              isLeftAsIs(head.format.separator, escape) && isLeftAsIs(head.format.point, escape);
      }
      split.push_back(head);
      from = end + 1;
      k = run.find(name, from);
    }
    split.push_back(piece);
    split.back().literal = run.substr(from);
  }
  pieces_.swap(split);
}

std::string_view CompiledTemplate::numberText(size_t piece, double v) {
  std::string &text = numbers_[piece];
  text.clear();
  if (hasValue(v)) appendNumber(text, v, pieces_[piece].format);
  return text;
}

bool CompiledTemplate::append(std::string &out, std::span<const FieldValue> values,
                              Escape escape) {
  // A number whose format holds no "{" is counted at its longest, unseen;
  // when that bound leaves no room the passes decide.
  size_t insertedBytes = 0;
  for (size_t p = 0; p < pieces_.size(); ++p) {
    const Piece &piece = pieces_[p];
    if (piece.field < 0) continue;
    const FieldValue &value = values[static_cast<size_t>(piece.field)];
    if (piece.isNumber && !piece.isBraceInFormat) {
      insertedBytes += kMaxNumberBytes;
      continue;
    }
    const std::string_view text = piece.isNumber ? numberText(p, value.number()) : value.text();
    if (text.find('{') != std::string_view::npos) return false;
    insertedBytes += text.size();
  }
  if (insertedBytes > LabelTemplate::kMaxInsertedBytes) return false;
  for (size_t p = 0; p < pieces_.size(); ++p) {
    const Piece &piece = pieces_[p];
    out += piece.literal;
    if (piece.field < 0) continue;
    const FieldValue &value = values[static_cast<size_t>(piece.field)];
    std::string_view text = value.text();
    if (piece.isNumber && piece.isBraceInFormat) {
      text = numbers_[p];
    } else if (piece.isNumber) {
      if (piece.isPlainIn[static_cast<size_t>(escape)]) {
        if (hasValue(value.number())) appendNumber(out, value.number(), piece.format);
        continue;
      }
      text = numberText(p, value.number());
    }
    if (escape == Escape::kQuery) appendQueryEscaped(out, text);
    else if (escape == Escape::kAttribute) appendHtmlEscaped(out, text);
    else out += text;
  }
  return true;
}

}  // namespace quorvane
