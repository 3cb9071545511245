// Pixel storage, colour resolution and the span writers every shape uses.
// A span is clipped once and then written with one of three loops chosen
// before it starts: per-pixel evaluation for special colours, a plain store
// for opaque colours, and the blending rule for everything else.
#include <algorithm>

#include "drawing/draw_area_impl.h"
#include "drawing/surface_limits.h"

namespace quorvane {

uint32_t DrawAreaImpl::lookup(uint32_t color) const {
  if (!isTableColor(color)) return color;
  const size_t index = colorIndex(color);
  return index < colorTable_.size() ? colorTable_[index] : kTransparent;
}

uint32_t DrawAreaImpl::evaluate(uint32_t resolved, int64_t x, int64_t y) {
  if (!isSpecialColor(resolved)) return resolved;
  const size_t index = colorIndex(resolved);
  return index < specials_.size() ? specials_[index]->colorAt(x, y) : kTransparent;
}

int DrawAreaImpl::getARGBColor(int color) {
  return static_cast<int>(lookup(color));
}

int DrawAreaImpl::getColorAt(int color, int x, int y) {
  return static_cast<int>(evaluate(lookup(color), x, y));
}

void DrawAreaImpl::setColorTable(const int *colors, int n, int offset) {
  if (colors == nullptr || n < 1 || offset < 0) return;
  const int64_t limit = 0xFFFE;
  int64_t count = n;
  if (offset + count > limit) count = limit - offset;
  if (count <= 0) return;
  completes([&] {
    const size_t end = static_cast<size_t>(offset + count);
    if (colorTable_.size() < end) colorTable_.resize(end, kTransparent);
    std::copy(reinterpret_cast<const uint32_t *>(colors),
              reinterpret_cast<const uint32_t *>(colors) + count, colorTable_.begin() + offset);
  });
}

int DrawAreaImpl::getWidth() { return width_; }
int DrawAreaImpl::getHeight() { return height_; }

void DrawAreaImpl::setSize(int width, int height, int bgColor) {
  width = std::max(width, 1);
  height = std::max(height, 1);
  if (!surfaceSizeAllowed(width, height)) return;
  completes([&] { resize(width, height, bgColor); });
}

void DrawAreaImpl::resize(int width, int height, int bgColor) {
  const int oldWidth = width_;
  const int oldHeight = height_;
  const bool wasUnit = oldWidth == 1 && oldHeight == 1;
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);

  // A fresh area in a plain background colour is filled as it is made.
  const uint32_t background = lookup(bgColor);
  const bool plain = background == kTransparent || (background >> 24) != 0xFF;
  if (wasUnit && plain) {
    std::vector<uint32_t> filled(count, background);
    pixels_.swap(filled);
    width_ = width;
    height_ = height;
    return;
  }
  std::vector<uint32_t> resized(count);
  const int keepW = std::min(oldWidth, width);
  const int keepH = std::min(oldHeight, height);
  for (int y = 0; y < keepH; ++y)
    std::copy_n(pixels_.begin() + static_cast<ptrdiff_t>(y) * oldWidth, keepW,
                resized.begin() + static_cast<ptrdiff_t>(y) * width);
  // Nothing below allocates.
  pixels_.swap(resized);
  width_ = width;
  height_ = height;

  if (wasUnit) {
    setBgColor(bgColor);
    return;
  }
  // New pixels, without blending: the right part of the kept rows first, then
  // the new rows, each left to right.
  const uint32_t c = background;
  for (int y = 0; y < keepH; ++y)
    for (int x = oldWidth; x < width; ++x) row(y)[x] = evaluate(c, x, y);
  for (int y = keepH; y < height; ++y)
    for (int x = 0; x < width; ++x) row(y)[x] = evaluate(c, x, y);
}

void DrawAreaImpl::setBgColor(int color) {
  const uint32_t c = lookup(color);
  if (c == kTransparent || (c >> 24) != 0xFF) {
    std::fill(pixels_.begin(), pixels_.end(), c);
    return;
  }
  for (int y = 0; y < height_; ++y)
    for (int x = 0; x < width_; ++x) row(y)[x] = evaluate(c, x, y);
}

void DrawAreaImpl::pixel(int x, int y, int color) {
  plot(x, y, lookup(color));
}

int DrawAreaImpl::getPixel(int x, int y) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return static_cast<int>(kTransparent);
  return static_cast<int>(row(y)[x]);
}

void DrawAreaImpl::plot(int64_t x, int64_t y, uint32_t resolved) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_ || resolved == kTransparent) return;
  blendAt(x, y, evaluate(resolved, x, y));
}

void DrawAreaImpl::span(int64_t x1, int64_t x2, int64_t y, uint32_t resolved) {
  if (resolved == kTransparent) return;
  if (!isSpecialColor(resolved)) {
    spanEvaluated(x1, x2, y, resolved);
    return;
  }
  if (y < 0 || y >= height_) return;
  if (x1 > x2) std::swap(x1, x2);
  x1 = std::max<int64_t>(x1, 0);
  x2 = std::min<int64_t>(x2, width_ - 1);
  if (x1 > x2) return;
  const size_t index = colorIndex(resolved);
  if (index >= specials_.size()) {
    spanEvaluated(x1, x2, y, kTransparent);
    return;
  }
  specials_[index]->blendSpan(row(y), x1, x2, y);
}

void DrawAreaImpl::spanEvaluated(int64_t x1, int64_t x2, int64_t y, uint32_t c) {
  if (y < 0 || y >= height_) return;
  if (x1 > x2) std::swap(x1, x2);
  x1 = std::max<int64_t>(x1, 0);
  x2 = std::min<int64_t>(x2, width_ - 1);
  if (x1 > x2) return;
  uint32_t *p = row(y);
  if ((c >> 24) == 0) {
    std::fill(p + x1, p + x2 + 1, c);  // opaque: blending gives c
  } else {
    for (int64_t x = x1; x <= x2; ++x) p[x] = blend(p[x], c);
  }
}

void DrawAreaImpl::column(int64_t y1, int64_t y2, int64_t x, uint32_t resolved) {
  if (resolved == kTransparent) return;
  if (!isSpecialColor(resolved)) {
    columnEvaluated(y1, y2, x, resolved);
    return;
  }
  if (x < 0 || x >= width_) return;
  if (y1 > y2) std::swap(y1, y2);
  y1 = std::max<int64_t>(y1, 0);
  y2 = std::min<int64_t>(y2, height_ - 1);
  for (int64_t y = y1; y <= y2; ++y) blendAt(x, y, evaluate(resolved, x, y));
}

void DrawAreaImpl::columnEvaluated(int64_t y1, int64_t y2, int64_t x, uint32_t c) {
  if (x < 0 || x >= width_) return;
  if (y1 > y2) std::swap(y1, y2);
  y1 = std::max<int64_t>(y1, 0);
  y2 = std::min<int64_t>(y2, height_ - 1);
  if ((c >> 24) == 0) {
    for (int64_t y = y1; y <= y2; ++y) row(y)[x] = c;  // opaque: blending gives c
  } else {
    for (int64_t y = y1; y <= y2; ++y) blendAt(x, y, c);
  }
}

void DrawAreaImpl::hline(int x1, int x2, int y, int color) {
  span(x1, x2, y, lookup(color));
}

void DrawAreaImpl::vline(int y1, int y2, int x, int color) {
  column(y1, y2, x, lookup(color));
}

}  // namespace quorvane
