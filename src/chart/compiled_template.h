// Image-map templates read once and expanded for many items. A map's fields
// are a fixed list replaced in a fixed order (TemplateField); LabelTemplate
// replaces them one pass at a time, which for a million areas is a million
// rewrites per field. CompiledTemplate finds the template's fields once, the
// way those passes would, and writes each item's expansion straight out.
//
// The compiled form equals the passes exactly when nothing new can become a
// field: the template's text outside its fields holds no "{" (every field name
// starts with one), no value holds one, and the values together stay within
// LabelTemplate::kMaxInsertedBytes, so none is cut. A template that fails the
// first test is not compiled; an item that fails the others is declined, and
// the caller expands it with LabelTemplate (expandFieldValues).
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "chart/label_template.h"
#include "chart/number_format.h"

namespace quorvane {

// A field of a map's items: a text field with its braces ("{xLabel}"), or a
// number field named with its opening brace ("{value") that takes "}" or
// "|format}" after the name.
struct TemplateField {
  std::string_view name;
  bool isNumber = false;
};

// One item's value of a field: text for a text field, a number for a number
// field. An integer's digits are held in the value itself.
class FieldValue {
 public:
  void setText(std::string_view text) {
    text_ = text;
    isDigits_ = false;
  }
  // The decimal digits of v, as std::to_string writes them.
  void setInt(int v);
  void setNumber(double v) { number_ = v; }
  std::string_view text() const {
    return isDigits_ ? std::string_view(digits_, digitCount_) : text_;
  }
  double number() const { return number_; }

 private:
  std::string_view text_;
  double number_ = 0;
  bool isDigits_ = false;
  unsigned char digitCount_ = 0;
  char digits_[12] = {};
};

// Replaces fields[j] by values[j] in order, as LabelTemplate passes.
void expandFieldValues(LabelTemplate &t, std::span<const TemplateField> fields,
                       std::span<const FieldValue> values);

class CompiledTemplate {
 public:
  CompiledTemplate() = default;
  // The views into text and fields must outlive the compiled template.
  CompiledTemplate(std::string_view text, std::span<const TemplateField> fields);

  // Whether the template could be compiled (its text outside fields holds no "{").
  bool isCompiled() const { return isCompiled_; }
  // Appends the expansion for values (one per field), its values escaped for
  // escape; returns false, leaving out as it was, when the item needs the
  // passes: a value holds "{", or the values exceed the inserted-bytes limit.
  bool append(std::string &out, std::span<const FieldValue> values, Escape escape);

 private:
  struct Piece {
    std::string_view literal;  // written as it is
    int field = -1;            // then the value of this field, if any
    bool isNumber = false;
    NumberFormat format;  // a number field's format
    // Whether its numbers may hold "{" (as separator or point).
    bool isBraceInFormat = false;
    // By Escape: whether its numbers are written as they are.
    bool isPlainIn[3] = {};
  };
  // Splits literal pieces at the fields of one pass.
  void splitAt(size_t field, const TemplateField &f);
  // v formatted for number piece piece, held until it is formatted again.
  std::string_view numberText(size_t piece, double v);

  // More than appendNumber writes: a 309-digit whole number with a 4-byte
  // separator every three digits, its sign, point and 30 decimals.
  static constexpr size_t kMaxNumberBytes = 1024;

  std::vector<Piece> pieces_;
  std::vector<std::string> numbers_;  // per piece, its number's text
  bool isCompiled_ = false;
};

}  // namespace quorvane
