// Shape texts, shapes cut to the image, and the joining of image-map links.
#include "chart/image_map.h"

#include <algorithm>
#include <charconv>
#include <initializer_list>
#include <cmath>
#include <cstdint>
#include <new>

namespace quorvane {

namespace {

// Appends shape="kind" coords="v0,v1,..." with the values in decimal, as
// printf's %d writes them. The text is put together on the stack, kBuffered
// values at a time (an int takes at most 11 characters and its comma), and
// appended in those pieces.
void appendShapeText(std::string &out, std::string_view kind, std::span<const int> coords) {
  constexpr size_t kBuffered = 16;
  constexpr std::string_view kOpen = "shape=\"";
  constexpr std::string_view kCoords = "\" coords=\"";
  char buffer[kOpen.size() + 6 + kCoords.size() + 12 * kBuffered + 1];
  char *p = std::copy(kOpen.begin(), kOpen.end(), buffer);
  p = std::copy(kind.begin(), kind.end(), p);
  p = std::copy(kCoords.begin(), kCoords.end(), p);
  for (size_t k = 0; k < coords.size(); ++k) {
    if (k > 0) *p++ = ',';
    p = std::to_chars(p, p + 11, coords[k]).ptr;
    if ((k + 1) % kBuffered == 0) {
      out.append(buffer, p);
      p = buffer;
    }
  }
  *p++ = '"';
  out.append(buffer, p);
}

std::string shapeText(std::string_view kind, std::initializer_list<int> coords) {
  std::string out;
  appendShapeText(out, kind, std::span<const int>(coords.begin(), coords.size()));
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
  std::string out;
  appendShapeText(out, "poly", xy.first(xy.size() & ~size_t{1}));
  return out;
}

std::string shapeFromInts(std::span<const int> values) {
  std::string out;
  appendShape(out, values);
  return out;
}

void appendShape(std::string &out, std::span<const int> values) {
  if (values.size() == 3) {
    appendShapeText(out, "circle", values);
  } else if (values.size() == 4) {
    const int corners[] = {std::min(values[0], values[2]), std::min(values[1], values[3]),
                           std::max(values[0], values[2]), std::max(values[1], values[3])};
    appendShapeText(out, "rect", corners);
  } else {
    appendShapeText(out, "poly", values.first(values.size() & ~size_t{1}));
  }
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
  hrefOpen_ = " href=\"" + url_;
  if (query_.empty() || (query_[0] != '?' && query_[0] != '&'))
    hrefOpen_ += url_.find('?') != std::string::npos ? '&' : '?';
}

void ImageMapWriter::compile(std::span<const TemplateField> fields, size_t expectedAreas) {
  fields_ = fields;
  compiledQuery_ = CompiledTemplate(query_, fields);
  compiledExtra_ = CompiledTemplate(extra_, fields);
  expectedAreas_ = expectedAreas;
}

void ImageMapWriter::addArea(std::span<const int> shape, std::span<const FieldValue> values) {
  out_ += "<area ";
  appendShape(out_, shape);
  appendLinks([&](const std::string &templateText, CompiledTemplate &compiled, Escape escape) {
    if (compiled.isCompiled() && compiled.append(out_, values, escape)) return;
    scratch_.assign(templateText);
    expandFieldValues(scratch_, fields_, values);
    scratch_.appendEscaped(out_, escape);
  });
  out_ += ">\n";
  if (++areas_ == kSampleAreas) reserveRest();
}

void ImageMapWriter::reserveRest() {
  if (expectedAreas_ <= areas_) return;
  // A quarter over the mean, so that later areas do not end in one more
  // doubling: their numbers grow longer ("x=999999" against "x=12").
  // Reserved pages that are never written cost no memory.
  const double meanBytes = static_cast<double>(out_.size()) / static_cast<double>(areas_);
  const double bytes = static_cast<double>(out_.size()) +
                       meanBytes * 1.25 * static_cast<double>(expectedAreas_ - areas_);
  if (bytes >= static_cast<double>(out_.max_size())) return;
  try {
    out_.reserve(static_cast<size_t>(bytes));
  } catch (const std::bad_alloc &) {
    // The reservation only saves copies: a text whose first areas promise
    // more than can be had grows as it goes.
  }
}

}  // namespace quorvane
