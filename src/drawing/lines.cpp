// Thick lines and rectangles with their bevel. A line of width w is the
// one-pixel midpoint line with w pixels laid across its minor axis at every
// step, from minor - w/2 upwards, so its ends are square to the major axis.
#include <algorithm>

#include "drawing/draw_area_impl.h"
#include "drawing/line_stepper.h"

namespace quorvane {

void DrawAreaImpl::line(int x1, int y1, int x2, int y2, int color, int lineWidth) {
  const uint32_t c = lookup(static_cast<uint32_t>(color));
  if (c == kTransparent || lineWidth < 1) return;
  if ((x1 < 0 && x2 < 0) || (x1 >= width_ && x2 >= width_) || (y1 < 0 && y2 < 0) ||
      (y1 >= height_ && y2 >= height_))
    return;
  const int64_t w = std::min<int64_t>(lineWidth, std::max(width_, height_));

  const LineStepper ls(x1, y1, x2, y2);
  const int64_t majorSize = ls.xMajor ? width_ : height_;
  const int64_t minorSize = ls.xMajor ? height_ : width_;
  // Clip the centre line to the area along both axes; the kept steps are
  // those of the whole line.
  int64_t kLo = std::max<int64_t>(0, -ls.major0);
  int64_t kHi = std::min<int64_t>(ls.dMajor, majorSize - 1 - ls.major0);
  if (kLo > kHi || !ls.clipMinor(0, minorSize - 1, kLo, kHi)) return;

  const int64_t below = w / 2;
  int64_t minor = ls.minorAt(kLo);
  int64_t error = ls.errorAt(kLo);
  const int64_t moveDelta = 2 * (ls.dMinor - ls.dMajor);
  const int64_t stayDelta = 2 * ls.dMinor;

  if (!isSpecialColor(c)) {
    // A plain colour: walk an index through the buffer, one major step and at
    // most one minor step at a time, and lay the w pixels across at each.
    const int64_t majorStride = ls.xMajor ? 1 : width_;
    const int64_t minorUnit = ls.xMajor ? width_ : 1;
    const bool opaque = (c >> 24) == 0;
    int64_t centre = ls.xMajor ? minor * width_ + ls.major0 + kLo
                               : (ls.major0 + kLo) * width_ + minor;
    uint32_t *const data = pixels_.data();
    for (int64_t k = kLo; k <= kHi; ++k) {
      if (w == 1) {
        data[centre] = opaque ? c : blend(data[centre], c);
      } else {
        const int64_t lo = std::max<int64_t>(minor - below, 0);
        const int64_t hi = std::min<int64_t>(minor - below + w - 1, minorSize - 1);
        int64_t at = centre + (lo - minor) * minorUnit;
        for (int64_t m = lo; m <= hi; ++m, at += minorUnit)
          data[at] = opaque ? c : blend(data[at], c);
      }
      centre += majorStride;
      if (error >= 0) {
        minor += ls.step;
        centre += ls.step * minorUnit;
        error += moveDelta;
      } else {
        error += stayDelta;
      }
    }
    return;
  }

  // A special colour is evaluated once a step, at the centre pixel, and the
  // steps are visited from the caller's first point, so that a dash pattern
  // starts there.
  auto stepAt = [&](int64_t k, int64_t m) {
    const int64_t x = ls.xMajor ? ls.major0 + k : m;
    const int64_t y = ls.xMajor ? m : ls.major0 + k;
    const uint32_t at = evaluate(c, x, y);
    if (ls.xMajor) columnEvaluated(m - below, m - below + w - 1, x, at);
    else spanEvaluated(m - below, m - below + w - 1, y, at);
  };
  if (ls.reversed) {
    for (int64_t k = kHi; k >= kLo; --k) stepAt(k, ls.minorAt(k));
    return;
  }
  for (int64_t k = kLo; k <= kHi; ++k) {
    stepAt(k, minor);
    if (error >= 0) {
      minor += ls.step;
      error += moveDelta;
    } else {
      error += stayDelta;
    }
  }
}

void DrawAreaImpl::rect(int x1, int y1, int x2, int y2, int edgeColor, int fillColor,
                        int raisedEffect) {
  if (x1 > x2) std::swap(x1, x2);
  if (y1 > y2) std::swap(y1, y2);
  const uint32_t edge = lookup(static_cast<uint32_t>(edgeColor));
  const uint32_t fillC = lookup(static_cast<uint32_t>(fillColor));

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
