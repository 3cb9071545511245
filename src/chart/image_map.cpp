// Shape texts and the joining of image-map links.
#include "chart/image_map.h"

#include <algorithm>
#include <cstdio>

namespace quorvane {

std::string rectShapeAsGiven(int left, int top, int right, int bottom) {
  char buf[96];
  const int n = std::snprintf(buf, sizeof buf, "shape=\"rect\" coords=\"%d,%d,%d,%d\"", left,
                              top, right, bottom);
  return std::string(buf, static_cast<size_t>(n));
}

std::string rectShape(int x1, int y1, int x2, int y2) {
  return rectShapeAsGiven(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2),
                          std::max(y1, y2));
}

std::string circleShape(int cx, int cy, int r) {
  char buf[80];
  const int n =
      std::snprintf(buf, sizeof buf, "shape=\"circle\" coords=\"%d,%d,%d\"", cx, cy, r);
  return std::string(buf, static_cast<size_t>(n));
}

std::string polygonShape(std::span<const int> xy) {
  std::string out = "shape=\"poly\" coords=\"";
  char buf[32];
  for (size_t k = 0; k + 1 < xy.size(); k += 2) {
    const int n = std::snprintf(buf, sizeof buf, "%d,%d,", xy[k], xy[k + 1]);
    out.append(buf, static_cast<size_t>(n));
  }
  // The final comma becomes the closing quote; without points the quote is
  // still closed.
  if (out.back() == ',') out.back() = '"';
  else out += '"';
  return out;
}

std::string shapeFromInts(std::span<const int> values) {
  if (values.size() == 3) return circleShape(values[0], values[1], values[2]);
  if (values.size() == 4) return rectShape(values[0], values[1], values[2], values[3]);
  return polygonShape(values);
}

ImageMapWriter::ImageMapWriter(const char *url, const char *queryFormat,
                               std::string_view defaultQuery, const char *extraAttr)
    : url_(url != nullptr ? url : ""),
      query_(queryFormat != nullptr && *queryFormat != '\0' ? std::string_view(queryFormat)
                                                            : defaultQuery),
      extra_(extraAttr != nullptr ? extraAttr : "") {
  // A query that starts with its own separator is joined as it is.
  if (!query_.empty() && (query_[0] == '?' || query_[0] == '&')) separator_ = "";
  else separator_ = url_.find('?') != std::string::npos ? "&" : "?";
}

}  // namespace quorvane
