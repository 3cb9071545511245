// HTML image-map text: the shape texts of rectangles, circles and polygons,
// and the area elements with their links. An area is
//   <area SHAPE[ EXTRA][ href="URL[?|&]QUERY"]>\n
// where EXTRA and QUERY are templates expanded for the item. The values that
// expansion inserts are escaped for where they land (percent-encoded in the
// query, HTML-escaped in the extra attributes); the host's URL and template
// text are written as given. Each expansion holds at most
// LabelTemplate::kMaxInsertedBytes (64 KiB) of inserted text, so an area is at
// most its shape, URL and two templates plus 6 x 64 KiB (HTML escaping makes
// at most 6 bytes of one) and 3 x 64 KiB (percent-encoding, 3 bytes of one).
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "chart/compiled_template.h"
#include "chart/label_template.h"

namespace quorvane {

// shape="rect" with the corners normalised so that left <= right, top <= bottom.
std::string rectShape(int x1, int y1, int x2, int y2);
// shape="rect" with left, top, right, bottom as given.
std::string rectShapeAsGiven(int left, int top, int right, int bottom);
// shape="circle".
std::string circleShape(int cx, int cy, int r);
// shape="poly" through the points (xy[0], xy[1]), (xy[2], xy[3]) ...; an odd
// last value is left out.
std::string polygonShape(std::span<const int> xy);
// By the number of values: 3 a circle, 4 a rectangle by two corners, any
// other number a polygon.
std::string shapeFromInts(std::span<const int> values);
// Appends the text of shapeFromInts(values).
void appendShape(std::string &out, std::span<const int> values);

// The part of a shape (values as shapeFromInts takes them) that lies on an
// image of width x height: the shape itself when it lies wholly on it; a
// rectangle cut to the image, its corners normalised; a polygon clipped to the
// image edges, its cut points rounded to the nearest pixel, in clipped
// (which the result then views); empty when nothing of it is on the image (a
// polygon clipped to fewer than three points, a circle whose box misses it).
std::span<const int> shapeOnImage(std::span<const int> values, int width, int height,
                                  std::vector<int> &clipped);

class ImageMapWriter {
 public:
  // Null arguments are empty; a null or empty queryFormat takes defaultQuery.
  ImageMapWriter(const char *url, const char *queryFormat, std::string_view defaultQuery,
                 const char *extraAttr);
  ImageMapWriter(const ImageMapWriter &) = delete;
  ImageMapWriter &operator=(const ImageMapWriter &) = delete;

  // The query template in force (used for the link only when there is a URL).
  const std::string &queryFormat() const { return query_; }
  const std::string &extraAttr() const { return extra_; }
  bool hasUrl() const { return !url_.empty(); }

  // Appends the area of one item; expand(LabelTemplate &) replaces the
  // item's fields in the order its context fixes.
  template <class Expand>
  void addArea(std::string_view shape, Expand &&expand) {
    out_ += "<area ";
    out_ += shape;
    appendLinks([&](const std::string &templateText, CompiledTemplate &, Escape escape) {
      scratch_.assign(templateText);
      expand(scratch_);
      scratch_.appendEscaped(out_, escape);
    });
    out_ += ">\n";
  }

  // Compiles the templates for items with fields (replaced in that order),
  // for the addArea below; expectedAreas (at most) lets the text be reserved
  // once from the first areas' sizes. fields must outlive the writer.
  void compile(std::span<const TemplateField> fields, size_t expectedAreas);
  // Appends the area of one item with the shape of values (as shapeFromInts
  // takes them) and its field values, one per compiled field; the same text
  // as the addArea above with expandFieldValues.
  void addArea(std::span<const int> shape, std::span<const FieldValue> values);

  const std::string &text() const { return out_; }
  // The text, moved out.
  std::string takeText() { return std::move(out_); }

 private:
  // The attributes after the shape: write(templateText, compiled, escape)
  // appends a template's expansion.
  template <class Write>
  void appendLinks(Write &&write) {
    if (!extra_.empty()) {
      out_ += ' ';
      write(extra_, compiledExtra_, Escape::kAttribute);
    }
    if (!url_.empty()) {
      out_ += hrefOpen_;
      write(query_, compiledQuery_, Escape::kQuery);
      out_ += '"';
    }
  }
  // Reserves the text for the expected areas at the mean size of the first
  // kSampleAreas.
  void reserveRest();
  static constexpr size_t kSampleAreas = 256;

  std::string url_;
  std::string query_;
  std::string extra_;
  std::string hrefOpen_;  // ' href="', the URL and the separator: "", "?" or "&"
  std::string out_;
  LabelTemplate scratch_;
  std::span<const TemplateField> fields_;
  CompiledTemplate compiledQuery_;
  CompiledTemplate compiledExtra_;
  size_t expectedAreas_ = 0;
  size_t areas_ = 0;
};

}  // namespace quorvane
