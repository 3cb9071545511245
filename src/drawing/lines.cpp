// Thick lines and rectangles with their bevel. A line of width w is the
// one-pixel midpoint line with w pixels laid across its minor axis at every
// step, from minor - w/2 upwards, so its ends are square to the major axis.
#include <algorithm>

#include "drawing/draw_area_impl.h"
#include "drawing/line_stepper.h"

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
void walkSpecialLine(DrawAreaImpl &area, const LineStepper &ls, int64_t kLo, int64_t kHi,
                     int64_t w, uint32_t c) {
  const int64_t below = w / 2;
  auto stepAt = [&](int64_t k, int64_t m) {
    const int64_t x = ls.xMajor ? ls.major0 + k : m;
    const int64_t y = ls.xMajor ? m : ls.major0 + k;
    const uint32_t evaluated = area.evaluate(c, x, y);
    if (ls.xMajor) area.columnEvaluated(m - below, m - below + w - 1, x, evaluated);
    else area.spanEvaluated(m - below, m - below + w - 1, y, evaluated);
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
  const uint32_t c = lookup(color);
  if (c == kTransparent || lineWidth < 1) return;
  if ((x1 < 0 && x2 < 0) || (x1 >= width_ && x2 >= width_) || (y1 < 0 && y2 < 0) ||
      (y1 >= height_ && y2 >= height_))
    return;
  const int64_t w = std::min<int64_t>(lineWidth, std::max(width_, height_));
  // Lines along a row or a column are the same in both modes.
  if (isSmooth_ && x1 != x2 && y1 != y2) {
    completes([&] { smoothLine(x1, y1, x2, y2, c, w); });
    return;
  }

  const LineStepper ls(x1, y1, x2, y2);
  int64_t kLo = 0, kHi = -1;
  if (!ls.clipToArea(width_, height_, kLo, kHi)) return;

  if (isSpecialColor(c)) {
    walkSpecialLine(*this, ls, kLo, kHi, w, c);
  } else if ((c >> 24) == 0) {
    // Opaque: blending gives c.
    walkPlainLine(pixels_.data(), width_, height_, ls, kLo, kHi, w, [c](uint32_t &p) { p = c; });
  } else {
    walkPlainLine(pixels_.data(), width_, height_, ls, kLo, kHi, w,
                  [c](uint32_t &p) { p = blend(p, c); });
  }
}

void DrawAreaImpl::rect(int x1, int y1, int x2, int y2, int edgeColor, int fillColor,
                        int raisedEffect) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  const uint32_t edge = lookup(edgeColor);
  const uint32_t fillC = lookup(fillColor);

  if (edge != kTransparent) {
    span(x1, x2, y1, edge);
    span(x1, x2, y2, edge);
    if (int64_t{y1} + 1 < y2) {
      column(int64_t{y1} + 1, int64_t{y2} - 1, x1, edge);
      column(int64_t{y1} + 1, int64_t{y2} - 1, x2, edge);
    }
  }

  // The interior, clipped; border pixels are never filled.
  const int64_t left = std::max<int64_t>(int64_t{x1} + 1, 0);
  const int64_t right = std::min<int64_t>(int64_t{x2} - 1, width_ - 1);
  const int64_t top = std::max<int64_t>(int64_t{y1} + 1, 0);
  const int64_t bottom = std::min<int64_t>(int64_t{y2} - 1, height_ - 1);
  if (left > right || top > bottom) return;
  if (fillC != kTransparent)
    for (int64_t y = top; y <= bottom; ++y) span(left, right, y, fillC);

  if (raisedEffect == 0) return;
  // The depth is limited by half the area and by half the interior: deeper
  // rings would be empty or turned around and would spill over the border.
  const int64_t depth = std::min<int64_t>(
      {raisedEffect < 0 ? -int64_t{raisedEffect} : int64_t{raisedEffect}, width_ / 2,
       height_ / 2, (right - left + 1) / 2, (bottom - top + 1) / 2});
  uint32_t light = 0x60FFFFFFu;
  uint32_t dark = 0x60000000u;
  if (raisedEffect < 0) std::swap(light, dark);
  // Ring k: top and left light, right and bottom dark; the four runs share no
  // pixel and none is empty.
  for (int64_t k = 0; k < depth; ++k) {
    spanEvaluated(left + k, right - k - 1, top + k, light);
    columnEvaluated(top + k, bottom - k - 1, right - k, dark);
    spanEvaluated(left + k + 1, right - k, bottom - k, dark);
    columnEvaluated(top + k + 1, bottom - k, left + k, light);
  }
}

}  // namespace quorvane
