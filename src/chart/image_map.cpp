// Shape texts, shapes cut to the image, and the joining of image-map links.
#include "chart/image_map.h"

#include <algorithm>
#include <charconv>
#include <initializer_list>
#include <cmath>
#include <cstdint>

namespace quorvane {

namespace {

// Appends v in decimal, as printf's %d writes it.
void appendInt(std::string &out, int v) {
  char buf[16];
  const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
  out.append(buf, end);
}

// The shape text of kind with the given coordinates.
std::string shapeText(const char *kind, std::initializer_list<int> coords) {
  std::string out = "shape=\"";
  out += kind;
  out += "\" coords=\"";
  for (int v : coords) {
    appendInt(out, v);
    out += ',';
  }
  out.back() = '"';
  return out;
}

}  // namespace

std::string rectShapeAsGiven(int left, int top, int right, int bottom) {
  return shapeText("rect", {left, top, right, bottom});
}

std::string rectShape(int x1, int y1, int x2, int y2) {
  return rectShapeAsGiven(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2),
                          std::max(y1, y2));
}

std::string circleShape(int cx, int cy, int r) { return shapeText("circle", {cx, cy, r}); }

std::string polygonShape(std::span<const int> xy) {
  std::string out = "shape=\"poly\" coords=\"";
  for (size_t k = 0; k + 1 < xy.size(); k += 2) {
    appendInt(out, xy[k]);
    out += ',';
    appendInt(out, xy[k + 1]);
    out += ',';
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

namespace {

struct Point {
  double x;
  double y;
};

// One pass of polygon clipping (Sutherland-Hodgman): keeps the part of the
// closed path in where inside(p) holds, with the crossing points that cut(a, b)
// finds on the boundary.
template <class Inside, class Cut>
void clipPath(const std::vector<Point> &in, std::vector<Point> &out, Inside inside, Cut cut) {
  out.clear();
  for (size_t k = 0; k < in.size(); ++k) {
    const Point &a = in[k == 0 ? in.size() - 1 : k - 1];
    const Point &b = in[k];
    const bool isAIn = inside(a);
    const bool isBIn = inside(b);
    if (isAIn != isBIn) out.push_back(cut(a, b));
    if (isBIn) out.push_back(b);
  }
}

// The crossing of segment a-b with the line x = c (or y = c when isY).
Point crossing(const Point &a, const Point &b, double c, bool isY) {
  if (isY) return {a.x + (b.x - a.x) * ((c - a.y) / (b.y - a.y)), c};
  return {c, a.y + (b.y - a.y) * ((c - a.x) / (b.x - a.x))};
}

}  // namespace

std::span<const int> shapeOnImage(std::span<const int> values, int width, int height,
                                  std::vector<int> &clipped) {
  const int right = width - 1;
  const int bottom = height - 1;
  if (right < 0 || bottom < 0 || values.size() < 3) return {};
  if (values.size() == 3) {  // a circle: kept unless its box misses the image
    const int64_t r = std::abs(int64_t{values[2]});
    const bool misses = int64_t{values[0]} + r < 0 || int64_t{values[0]} - r > right ||
                        int64_t{values[1]} + r < 0 || int64_t{values[1]} - r > bottom;
    return misses ? std::span<const int>() : values;
  }
  if (values.size() == 4) {
    const int left = std::max(0, std::min(values[0], values[2]));
    const int top = std::max(0, std::min(values[1], values[3]));
    const int x2 = std::min(right, std::max(values[0], values[2]));
    const int y2 = std::min(bottom, std::max(values[1], values[3]));
    if (left > x2 || top > y2) return {};
    if (left == std::min(values[0], values[2]) && top == std::min(values[1], values[3]) &&
        x2 == std::max(values[0], values[2]) && y2 == std::max(values[1], values[3]))
      return values;
    clipped.assign({left, top, x2, y2});
    return clipped;
  }
  const size_t points = values.size() / 2;
  bool isInside = true;
  for (size_t k = 0; k < points && isInside; ++k)
    isInside = values[2 * k] >= 0 && values[2 * k] <= right && values[2 * k + 1] >= 0 &&
               values[2 * k + 1] <= bottom;
  if (isInside) return values;

  std::vector<Point> path(points);
  for (size_t k = 0; k < points; ++k) path[k] = {double(values[2 * k]), double(values[2 * k + 1])};
  std::vector<Point> next;
  const double r = right;
  const double b = bottom;
  clipPath(path, next, [](const Point &p) { return p.x >= 0; },
           [](const Point &p, const Point &q) { return crossing(p, q, 0, false); });
  clipPath(next, path, [r](const Point &p) { return p.x <= r; },
           [r](const Point &p, const Point &q) { return crossing(p, q, r, false); });
  clipPath(path, next, [](const Point &p) { return p.y >= 0; },
           [](const Point &p, const Point &q) { return crossing(p, q, 0, true); });
  clipPath(next, path, [b](const Point &p) { return p.y <= b; },
           [b](const Point &p, const Point &q) { return crossing(p, q, b, true); });
  // Every point now lies on the image, so rounding stays on it; a point that
  // rounds onto the one before it is left out.
  clipped.clear();
  for (const Point &p : path) {
    const int x = static_cast<int>(std::lround(p.x));
    const int y = static_cast<int>(std::lround(p.y));
    const size_t n = clipped.size();
    if (n >= 2 && clipped[n - 2] == x && clipped[n - 1] == y) continue;
    clipped.push_back(x);
    clipped.push_back(y);
  }
  while (clipped.size() >= 4 && clipped[0] == clipped[clipped.size() - 2] &&
         clipped[1] == clipped[clipped.size() - 1])
    clipped.resize(clipped.size() - 2);
  if (clipped.size() < 6) return {};
  return clipped;
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
