// The surface's pixel store and the span writers every shape uses. A span is
// clipped once and then written with one of three loops chosen before it
// starts: per-pixel evaluation for special colours, a plain store for opaque
// colours, and the blending rule for everything else.
#include <algorithm>

#include "drawing/surface.h"

namespace quorvane {

namespace {

// Orders a run's ends and cuts them to [0, size); false when nothing is left.
inline bool clipRun(int64_t &a, int64_t &b, int64_t size) {
  if (a > b) std::swap(a, b);
  a = std::max<int64_t>(a, 0);
  b = std::min<int64_t>(b, size - 1);
  return a <= b;
}

}  // namespace

void Surface::adopt(int width, int height, std::vector<uint32_t> &&pixels) {
  pixels_ = std::move(pixels);
  width_ = width;
  height_ = height;
}

void Surface::resize(int width, int height, uint32_t background) {
  const int oldWidth = width_;
  const int oldHeight = height_;
  const bool wasUnit = oldWidth == 1 && oldHeight == 1;
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);

  // A fresh area in a plain background colour is filled as it is made.
  const bool plain = background == kTransparent || !isInvisible(background);
  if (wasUnit && plain) {
    std::vector<uint32_t> filled(count, background);
    adopt(width, height, std::move(filled));
    return;
  }
  std::vector<uint32_t> resized(count);
  const int keepW = std::min(oldWidth, width);
  const int keepH = std::min(oldHeight, height);
  for (int y = 0; y < keepH; ++y)
    std::copy_n(pixels_.begin() + static_cast<ptrdiff_t>(y) * oldWidth, keepW,
                resized.begin() + static_cast<ptrdiff_t>(y) * width);
  // Nothing below allocates.
  adopt(width, height, std::move(resized));

  if (wasUnit) {
    fillWith(background);
    return;
  }
  // New pixels, without blending: the right part of the kept rows first, then
  // the new rows, each left to right.
  const uint32_t c = background;
  for (int y = 0; y < keepH; ++y)
    for (int x = oldWidth; x < width; ++x) row(y)[x] = colors_.evaluate(c, x, y);
  for (int y = keepH; y < height; ++y)
    for (int x = 0; x < width; ++x) row(y)[x] = colors_.evaluate(c, x, y);
}

void Surface::fillWith(uint32_t resolved) {
  const uint32_t c = resolved;
  if (c == kTransparent || !isInvisible(c)) {
    std::fill(pixels_.begin(), pixels_.end(), c);
    return;
  }
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) row(y)[x] = colors_.evaluate(c, x, y);
}

void Surface::plot(int64_t x, int64_t y, uint32_t resolved) {
  if (!contains(x, y) || resolved == kTransparent) return;
  blendAt(x, y, colors_.evaluate(resolved, x, y));
}

void Surface::span(int64_t x1, int64_t x2, int64_t y, uint32_t resolved) {
  if (resolved == kTransparent) return;
  if (!isSpecialColor(resolved)) {
    spanEvaluated(x1, x2, y, resolved);
    return;
  }
  if (y < 0 || y >= height_ || !clipRun(x1, x2, width_)) return;
  SpecialColor *special = colors_.special(resolved);
  if (special == nullptr) {
    spanEvaluated(x1, x2, y, kTransparent);  // past the list: Transparent, as evaluate gives
    return;
  }
  special->blendSpan(row(y), x1, x2, y);
}

void Surface::spanEvaluated(int64_t x1, int64_t x2, int64_t y, uint32_t c) {
  if (y < 0 || y >= height_ || !clipRun(x1, x2, width_)) return;
  uint32_t *p = row(y);
  if (isOpaque(c)) {
    std::fill(p + x1, p + x2 + 1, c);  // opaque: blending gives c
  } else {
    for (int64_t x = x1; x <= x2; ++x) p[x] = blend(p[x], c);
  }
}

void Surface::column(int64_t y1, int64_t y2, int64_t x, uint32_t resolved) {
  if (resolved == kTransparent) return;
  if (!isSpecialColor(resolved)) {
    columnEvaluated(y1, y2, x, resolved);
    return;
  }
  if (x < 0 || x >= width_ || !clipRun(y1, y2, height_)) return;
  for (int64_t y = y1; y <= y2; ++y) blendAt(x, y, colors_.evaluate(resolved, x, y));
}

void Surface::columnEvaluated(int64_t y1, int64_t y2, int64_t x, uint32_t c) {
  if (x < 0 || x >= width_ || !clipRun(y1, y2, height_)) return;
  if (isOpaque(c)) {
    for (int64_t y = y1; y <= y2; ++y) row(y)[x] = c;  // opaque: blending gives c
  } else {
    for (int64_t y = y1; y <= y2; ++y) blendAt(x, y, c);
  }
}

void Surface::blendLevels(int64_t x, int64_t y, const uint8_t *levels, size_t count,
                          const uint32_t *palette) {
  if (y < 0 || y >= height_) return;
  const int64_t first = std::max<int64_t>(0, -x);
  const int64_t end = std::min<int64_t>(static_cast<int64_t>(count), width_ - x);
  uint32_t *p = row(y);
  for (int64_t i = first; i < end; ++i) {
    const uint32_t c = palette[levels[i]];
    if (c != kTransparent) p[x + i] = blend(p[x + i], c);
  }
}

}  // namespace quorvane
