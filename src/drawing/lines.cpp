// Thick lines and rectangles with their bevel. A line of width w is the
// one-pixel midpoint line with w pixels laid across its minor axis at every
// step, from minor - w/2 upwards, so its ends are square to the major axis.
#include <algorithm>
#include <vector>

#include "drawing/draw_area_impl.h"
#include "drawing/line_stepper.h"
#include "drawing/smooth_shapes.h"

namespace quorvane {

namespace {

// A plain colour: an index walks through the buffer, one major step and at
// most one minor step at a time, and put lays the w pixels across at each.
template <typename Put>
void walkPlainLine(uint32_t *data, int64_t width, int64_t height, const LineStepper &ls,
                   int64_t kLo, int64_t kHi, int64_t w, Put put) {
  const int64_t minorSize = ls.xMajor ? height : width;
  const int64_t below = w / 2;
  const int64_t majorStride = ls.xMajor ? 1 : width;
  const int64_t minorUnit = ls.xMajor ? width : 1;
  LineStepper::Cursor at = ls.cursorAt(kLo);
  int64_t centre = ls.xMajor ? at.minor * width + ls.major0 + kLo
                             : (ls.major0 + kLo) * width + at.minor;
  for (int64_t k = kLo; k <= kHi; ++k) {
    if (w == 1) {
      put(data[centre]);
    } else {
      const int64_t lo = std::max<int64_t>(at.minor - below, 0);
      const int64_t hi = std::min<int64_t>(at.minor - below + w - 1, minorSize - 1);
      int64_t across = centre + (lo - at.minor) * minorUnit;
      for (int64_t m = lo; m <= hi; ++m, across += minorUnit) put(data[across]);
    }
    centre += majorStride;
    if (ls.advance(at)) centre += ls.step * minorUnit;
  }
}

// A special colour is evaluated once a step, at the centre pixel, and the
// steps are visited from the caller's first point, so that a dash pattern
// starts there.
void walkSpecialLine(Surface &surface, const LineStepper &ls, int64_t kLo, int64_t kHi,
                     int64_t w, uint32_t c) {
  const int64_t below = w / 2;
  auto stepAt = [&](int64_t k, int64_t m) {
    const int64_t x = ls.xMajor ? ls.major0 + k : m;
    const int64_t y = ls.xMajor ? m : ls.major0 + k;
    const uint32_t evaluated = surface.colors().evaluate(c, x, y);
    if (ls.xMajor) surface.columnEvaluated(m - below, m - below + w - 1, x, evaluated);
    else surface.spanEvaluated(m - below, m - below + w - 1, y, evaluated);
  };
  if (ls.reversed) {
    for (int64_t k = kHi; k >= kLo; --k) stepAt(k, ls.minorAt(k));
    return;
  }
  LineStepper::Cursor at = ls.cursorAt(kLo);
  for (int64_t k = kLo; k <= kHi; ++k) {
    stepAt(k, at.minor);
    ls.advance(at);
  }
}

}  // namespace

void DrawAreaImpl::line(int x1, int y1, int x2, int y2, int color, int lineWidth) {
  const uint32_t c = colors_.lookup(color);
  const int width = surface_.width();
  const int height = surface_.height();
  if (c == kTransparent || lineWidth < 1) return;
  if ((x1 < 0 && x2 < 0) || (x1 >= width && x2 >= width) || (y1 < 0 && y2 < 0) ||
      (y1 >= height && y2 >= height))
    return;
  const int64_t w = std::min<int64_t>(lineWidth, std::max(width, height));
  // Lines along a row or a column are the same in both modes.
  if (isSmooth_ && x1 != x2 && y1 != y2) {
    completes([&] { smoothLine({surface_, coverageScratch_}, x1, y1, x2, y2, c, w); });
    return;
  }

  const LineStepper ls(x1, y1, x2, y2);
  int64_t kLo = 0, kHi = -1;
  if (!ls.clipToArea(width, height, kLo, kHi)) return;

  uint32_t *data = surface_.row(0);
  if (isSpecialColor(c)) {
    walkSpecialLine(surface_, ls, kLo, kHi, w, c);
  } else if (isOpaque(c)) {
    // Opaque: blending gives c.
    walkPlainLine(data, width, height, ls, kLo, kHi, w, [c](uint32_t &p) { p = c; });
  } else {
    walkPlainLine(data, width, height, ls, kLo, kHi, w, [c](uint32_t &p) { p = blend(p, c); });
  }
}

void DrawAreaImpl::polyline(const int *x, const int *y, int n, int color, int lineWidth) {
  const uint32_t c = colors_.lookup(color);
  if (c == kTransparent || lineWidth < 1 || n < 1) return;
  const int64_t w = std::min<int64_t>(lineWidth, std::max(surface_.width(), surface_.height()));
  completes([&] {
    const std::vector<int64_t> px(x, x + n), py(y, y + n);
    smoothPolyline({surface_, coverageScratch_}, px.data(), py.data(), static_cast<size_t>(n), c,
                   w);
  });
}

void DrawAreaImpl::rect(int x1, int y1, int x2, int y2, int edgeColor, int fillColor,
                        int raisedEffect) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  const uint32_t edge = colors_.lookup(edgeColor);
  const uint32_t fillC = colors_.lookup(fillColor);
  Surface &s = surface_;

  if (edge != kTransparent) {
    s.span(x1, x2, y1, edge);
    s.span(x1, x2, y2, edge);
    if (int64_t{y1} + 1 < y2) {
      s.column(int64_t{y1} + 1, int64_t{y2} - 1, x1, edge);
      s.column(int64_t{y1} + 1, int64_t{y2} - 1, x2, edge);
    }
  }

  // The interior, clipped; border pixels are never filled.
  const int64_t left = std::max<int64_t>(int64_t{x1} + 1, 0);
  const int64_t right = std::min<int64_t>(int64_t{x2} - 1, s.width() - 1);
  const int64_t top = std::max<int64_t>(int64_t{y1} + 1, 0);
  const int64_t bottom = std::min<int64_t>(int64_t{y2} - 1, s.height() - 1);
  if (left > right || top > bottom) return;
  if (fillC != kTransparent)
    for (int64_t y = top; y <= bottom; ++y) s.span(left, right, y, fillC);

  if (raisedEffect == 0) return;
  // The depth is limited by half the area and by half the interior: deeper
  // rings would be empty or turned around and would spill over the border.
  const int64_t depth = std::min<int64_t>(
      {raisedEffect < 0 ? -int64_t{raisedEffect} : int64_t{raisedEffect}, s.width() / 2,
       s.height() / 2, (right - left + 1) / 2, (bottom - top + 1) / 2});
  uint32_t light = 0x60FFFFFFu;
  uint32_t dark = 0x60000000u;
  if (raisedEffect < 0) std::swap(light, dark);
  // Ring k: top and left light, right and bottom dark; the four runs share no
  // pixel and none is empty.
  for (int64_t k = 0; k < depth; ++k) {
    s.spanEvaluated(left + k, right - k - 1, top + k, light);
    s.columnEvaluated(top + k, bottom - k - 1, right - k, dark);
    s.spanEvaluated(left + k + 1, right - k, bottom - k, dark);
    s.columnEvaluated(top + k + 1, bottom - k, left + k, light);
  }
}

}  // namespace quorvane
