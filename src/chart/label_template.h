// Label and image-map templates. Brace fields ("{xLabel}", "{value}",
// "{value|2,}") serve image maps, ampersand fields ("&label&", "&value|2&")
// drawn labels. The caller replaces one field at a time in the order its
// context fixes; a later replacement also sees what earlier ones inserted, so a
// data-set name holding "{value}" has that field expanded too.
//
// Every byte remembers its source: the template, or one particular inserted
// value. A field is recognised only where all of its bytes share one source,
// so a value can hold complete fields of its own but can never start a field
// that the template (or another value) finishes: a label such as
// '{value|" onmouseover=' cannot swallow the host's text up to its next "}".
// The same record lets an image map escape exactly the inserted values for the
// place they land and leave the host's own template text as given.
//
// Every replacement is one pass over the text, linear in its input and output.
//
// Since inserted values may hold fields of their own, nested fields would
// multiply (an x label of many "{x2Label}" fields, each x2 label of many
// "{dataSetName}" fields, and a long name). So the text holds at most
// kMaxInsertedBytes inserted bytes at any time, 64 KiB: an expansion is never
// longer than its template plus 64 KiB, and each replacement costs at most a
// pass over that. An insertion that would go past the limit is cut to the room
// left, at a UTF-8 sequence boundary, and numbers are inserted whole or not at
// all; the template's own text is never cut, so an attribute's closing quote
// stays. What is kept of a cut value is still one inserted value, escaped as
// one (escaping follows expansion, so no escape is split).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane {

// Where an expanded template lands.
enum class Escape {
  kNone,       // a drawn label: values as they are
  kQuery,      // an href query: values percent-encoded
  kAttribute,  // an HTML attribute: values HTML-escaped
};

class LabelTemplate {
 public:
  // The inserted bytes a text holds at most (see the file comment).
  static constexpr size_t kMaxInsertedBytes = size_t{64} * 1024;

  LabelTemplate() = default;
  explicit LabelTemplate(std::string_view text) { assign(text); }

  void assign(std::string_view text);
  // A lower limit for the replacements from now on, also after assign; one
  // above kMaxInsertedBytes is taken as kMaxInsertedBytes.
  void setInsertedLimit(size_t bytes) { insertedLimit_ = std::min(bytes, kMaxInsertedBytes); }

  // Replaces every occurrence of field (with its delimiters: "{x}", "&label&"),
  // left to right, without rescanning the inserted text.
  void replaceText(std::string_view field, std::string_view value);
  // A brace number field named with its opening brace ("{value"): "{value}"
  // takes automatic precision, "{value|format}" that format; "{values}" is no field.
  // The search goes on after each inserted number.
  void replaceNumber(std::string_view name, double value);
  // "{percent}" with two decimals when the template itself (not a value
  // inserted into it) holds that exact text; otherwise "{percent|spec}" fields
  // as number fields.
  void replacePercent(double percent);
  // An ampersand number field named with its ampersand ("&value"): "&value&"
  // formatted by defaultSpec, "&value|spec&" by spec. Fields are taken from the
  // front of the text; an occurrence of the name in the template that is no
  // field (not followed by "&" or "|", or a format without its closing "&") ends
  // the replacement, while one inside an inserted value is passed over.
  void replaceAmpersandNumber(std::string_view name, double value, std::string_view defaultSpec);

  const std::string &text() const { return text_; }
  // The inserted bytes in the text.
  size_t insertedBytes() const { return inserted_; }
  // Appends the text with every inserted byte escaped for escape.
  void appendEscaped(std::string &out, Escape escape) const;

 private:
  // Source 0 is the template; every insertion gets a source of its own.
  using Source = uint32_t;
  static constexpr Source kTemplate = 0;

  // replaceText, with the value inserted whole or not at all when isWhole.
  void replaceField(std::string_view field, std::string_view value, bool isWhole);
  // Moves the text to the input buffers and empties it for the output.
  void beginRewrite();
  // Appends input bytes [from, to) to the output with their sources.
  void copyInput(size_t from, size_t to);
  // Drops the input bytes [from, to) of a replaced field.
  void dropInput(size_t from, size_t to);
  // The inserted bytes among input bytes [from, to).
  size_t insertedIn(size_t from, size_t to) const;
  // Appends value to the output as a new insertion, cut to the room the limit
  // leaves (whole or nothing when isWhole); returns the bytes appended.
  size_t appendInserted(std::string_view value, bool isWhole);
  // Whether the input bytes [pos, pos + len) share one source.
  bool isOneSource(size_t pos, size_t len) const;

  std::string text_;
  std::vector<Source> source_;  // one per byte of text_
  Source nextSource_ = 1;
  size_t insertedLimit_ = kMaxInsertedBytes;
  // Inserted bytes: in text_ (during a rewrite, in the output so far), and in
  // the input not yet copied or dropped. Their sum never exceeds the limit.
  size_t inserted_ = 0;
  size_t insertedAhead_ = 0;
  std::string in_;              // the text being rewritten
  std::vector<Source> inSource_;
  std::string number_;
};

// The number as a field shows it: formatted by spec; empty for NoValue and
// for values that are not finite.
void appendFieldNumber(std::string &out, double value, std::string_view spec);

// Percent-encodes every byte except the unreserved characters A-Z a-z 0-9
// - . _ ~. The result holds nothing that HTML escaping would change, so it can
// stand inside an attribute as it is.
void appendQueryEscaped(std::string &out, std::string_view value);
// Replaces & < > " ' by their character references.
void appendHtmlEscaped(std::string &out, std::string_view value);
// Whether escaping text for escape leaves it as it is.
bool isLeftAsIs(std::string_view text, Escape escape);

}  // namespace quorvane
