// Label and image-map templates. Brace fields ("{xLabel}", "{value}",
// "{value|2,}") serve image maps, ampersand fields ("&label&", "&value|2&")
// drawn labels. The caller replaces one field at a time in the order its
// context fixes; a later replacement also sees what earlier ones inserted, so a
// data-set name holding "{value}" has that field expanded too.
//
// Every byte remembers whether it came from the template or from a value, so
// an image map can escape exactly the inserted values for the place they land
// and leave the host's own template text as given.
#pragma once

#include <string>
#include <string_view>

namespace quorvane {

// Where an expanded template lands.
enum class Escape {
  kNone,       // a drawn label: values as they are
  kQuery,      // an href query: values percent-encoded
  kAttribute,  // an HTML attribute: values HTML-escaped
};

class LabelTemplate {
 public:
  LabelTemplate() = default;
  explicit LabelTemplate(std::string_view text) { assign(text); }

  void assign(std::string_view text);

  // Replaces every occurrence of field (with its delimiters: "{x}", "&label&"),
  // left to right, without rescanning the inserted text.
  void replaceText(std::string_view field, std::string_view value);
  // A brace number field named with its opening brace ("{value"): "{value}"
  // takes automatic precision, "{value|format}" that format; "{values}" is no field.
  // The search goes on after each inserted number.
  void replaceNumber(std::string_view name, double value);
  // "{percent}" with two decimals when the template holds that exact text;
  // otherwise "{percent|spec}" fields as number fields.
  void replacePercent(double percent);
  // An ampersand number field named with its ampersand ("&value"): "&value&"
  // formatted by defaultSpec, "&value|spec&" by spec. Fields are taken from the
  // front of the text until an occurrence of the name is not followed by "&" or
  // "|", or its spec has no closing "&".
  void replaceAmpersandNumber(std::string_view name, double value, std::string_view defaultSpec);

  const std::string &text() const { return text_; }
  // Appends the text with every inserted byte escaped for escape.
  void appendEscaped(std::string &out, Escape escape) const;

 private:
  // Replaces text_[pos, pos + len) by value, marked as inserted.
  void splice(size_t pos, size_t len, std::string_view value);

  std::string text_;
  std::string inserted_;  // one byte per byte of text_: 1 where a value put it
  std::string scratchText_;
  std::string scratchInserted_;
  std::string number_;
};

// The number as a field shows it: formatted by spec, empty for NoValue.
void appendFieldNumber(std::string &out, double value, std::string_view spec);

// Percent-encodes every byte except the unreserved characters A-Z a-z 0-9
// - . _ ~. The result holds nothing that HTML escaping would change, so it can
// stand inside an attribute as it is.
void appendQueryEscaped(std::string &out, std::string_view value);
// Replaces & < > " ' by their character references.
void appendHtmlEscaped(std::string &out, std::string_view value);

}  // namespace quorvane
