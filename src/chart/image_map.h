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
    if (!extra_.empty()) {
      out_ += ' ';
      scratch_.assign(extra_);
      expand(scratch_);
      scratch_.appendEscaped(out_, Escape::kAttribute);
    }
    if (!url_.empty()) {
      out_ += " href=\"";
      out_ += url_;
      out_ += separator_;
      scratch_.assign(query_);
      expand(scratch_);
      scratch_.appendEscaped(out_, Escape::kQuery);
      out_ += '"';
    }
    out_ += ">\n";
  }

  const std::string &text() const { return out_; }

 private:
  std::string url_;
  std::string query_;
  std::string extra_;
  std::string_view separator_;  // "", "?" or "&"
  std::string out_;
  LabelTemplate scratch_;
};

}  // namespace quorvane
