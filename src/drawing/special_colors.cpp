// Evaluation of the special colours. Ramps are built once at creation; the
// per-pixel work is a table lookup with 4.12 fixed-point index arithmetic.
#include "drawing/special_colors.h"

#include <cmath>

#include "base/angles.h"
#include "drawing/blend.h"
#include "drawing/surface_limits.h"

namespace quorvane {

void SpecialColor::blendSpan(uint32_t *row, int64_t x1, int64_t x2, int64_t y) {
  for (int64_t x = x1; x <= x2; ++x) row[x] = blend(row[x], colorAt(x, y));
}

DashColor::DashColor(uint32_t color, uint32_t dashPattern) : color_(color) {
  if (dashPattern == 0) dashPattern = 0x0505;
  // Bytes from the most significant: dashes, gaps, dashes, gaps.
  dash_.append((dashPattern >> 24) & 0xFF, '-');
  dash_.append((dashPattern >> 16) & 0xFF, ' ');
  dash_.append((dashPattern >> 8) & 0xFF, '-');
  dash_.append(dashPattern & 0xFF, ' ');
}

uint32_t DashColor::colorAt(int64_t x, int64_t y) {
  // The pattern advances one character per new pixel and restarts whenever
  // the drawing jumps by more than one pixel.
  if (x != lastX_ || y != lastY_) ++position_;
  const int64_t jumpX = x > lastX_ ? x - lastX_ : lastX_ - x;
  const int64_t jumpY = y > lastY_ ? y - lastY_ : lastY_ - y;
  if (jumpX > 1 || jumpY > 1 || position_ >= static_cast<int64_t>(dash_.size())) position_ = 0;
  lastX_ = x;
  lastY_ = y;
  return dash_[static_cast<size_t>(position_)] == ' ' ? kTransparent : color_;
}

PatternColor::PatternColor(const int *pixels, int width, int height, int startX, int startY)
    : startX_(startX), startY_(startY) {
  if (pixels == nullptr || !surfaceSizeAllowed(width, height)) return;
  width_ = width;
  height_ = height;
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  pixels_.assign(reinterpret_cast<const uint32_t *>(pixels),
                 reinterpret_cast<const uint32_t *>(pixels) + count);
}

uint32_t PatternColor::colorAt(int64_t x, int64_t y) {
  if (pixels_.empty()) return kTransparent;
  int64_t col = (x - startX_) % width_;
  int64_t row = (y - startY_) % height_;
  if (col < 0) col += width_;
  if (row < 0) row += height_;
  return pixels_[static_cast<size_t>(row * width_ + col)];
}

void PatternColor::blendSpan(uint32_t *row, int64_t x1, int64_t x2, int64_t y) {
  if (pixels_.empty()) {
    SpecialColor::blendSpan(row, x1, x2, y);
    return;
  }
  int64_t tileRow = (y - startY_) % height_;
  if (tileRow < 0) tileRow += height_;
  const uint32_t *source = pixels_.data() + tileRow * width_;
  int64_t col = (x1 - startX_) % width_;
  if (col < 0) col += width_;
  for (int64_t x = x1; x <= x2; ++x) {
    row[x] = blend(row[x], source[col]);
    if (++col == width_) col = 0;
  }
}

uint32_t GradientColor::colorAt(int64_t x, int64_t y) {
  const int64_t index = (p_ * (x - originX_) + q_ * (y - originY_)) >> 12;
  return ramp_[static_cast<size_t>(index & 255)];
}

void GradientColor::blendSpan(uint32_t *row, int64_t x1, int64_t x2, int64_t y) {
  // The index in 4.12 fixed point advances by p a pixel.
  int64_t index = p_ * (x1 - originX_) + q_ * (y - originY_);
  for (int64_t x = x1; x <= x2; ++x, index += p_)
    row[x] = blend(row[x], ramp_[static_cast<size_t>((index >> 12) & 255)]);
}

namespace {

uint32_t mixBytes(uint32_t from, uint32_t to, int64_t weightTo, int64_t total) {
  // Each byte ((total - w) * from + w * to + total / 2) / total, transparency included.
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const int64_t a = (from >> shift) & 0xFF;
    const int64_t b = (to >> shift) & 0xFF;
    int64_t v = ((total - weightTo) * a + weightTo * b + total / 2) / total;
    if (v < 0) v = 0;
    if (v > 255) v = 255;
    out |= static_cast<uint32_t>(v) << shift;
  }
  return out;
}

// A 4.12 step that stays far from overflow whatever the caller passes.
int64_t fixedStep(double v) {
  if (!std::isfinite(v)) return 0;
  const double r = std::floor(v + 0.5);
  constexpr double kLimit = 1073741824.0;  // 2^30
  if (r > kLimit) return static_cast<int64_t>(kLimit);
  if (r < -kLimit) return -static_cast<int64_t>(kLimit);
  return static_cast<int64_t>(r);
}

}  // namespace

std::unique_ptr<GradientColor> GradientColor::twoColor(int x1, int y1, int x2, int y2,
                                                       uint32_t color1, uint32_t color2) {
  Ramp ramp;
  for (int i = 0; i < 256; ++i) {
    // ((255 - i) * c1 + i * c2 + 127) / 255 per byte.
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
      const uint32_t a = (color1 >> shift) & 0xFF;
      const uint32_t b = (color2 >> shift) & 0xFF;
      out |= (((255 - i) * a + i * b + 127) / 255) << shift;
    }
    ramp[static_cast<size_t>(i)] = out;
  }
  // Index 0 at (x1, y1) and 255 at (x2, y2): each step is 255 * 4096 * d / |d|^2,
  // rounded away from zero so that the far point reaches 255 and not 254.
  const double dx = static_cast<double>(x2) - x1;
  const double dy = static_cast<double>(y2) - y1;
  const double len2 = dx * dx + dy * dy;
  int64_t p = 0;
  int64_t q = 0;
  if (len2 > 0) {
    const double sp = 255.0 * 4096.0 * dx / len2;
    const double sq = 255.0 * 4096.0 * dy / len2;
    p = fixedStep(sp >= 0 ? std::ceil(sp) : std::floor(sp));
    q = fixedStep(sq >= 0 ? std::ceil(sq) : std::floor(sq));
  }
  return std::make_unique<GradientColor>(ramp, p, q, x1, y1);
}

std::unique_ptr<GradientColor> GradientColor::multiStop(const int *stops, size_t stopInts,
                                                        double angleDeg, double scale,
                                                        int startX, int startY) {
  Ramp ramp;
  ramp.fill(kTransparent);
  const size_t pairs = stops == nullptr ? 0 : stopInts / 2;
  if (pairs == 1) {
    ramp.fill(static_cast<uint32_t>(stops[1]));
  } else if (pairs >= 2) {
    // Pair j runs from stop j to stop j + 1; the next pair is taken once i
    // passes its end. No pair is taken beyond an end position of 255 or
    // more, so a list that covers the ramp is never read past.
    size_t j = 0;
    for (int i = 0; i < 256; ++i) {
      while (i > stops[2 * j + 2] && stops[2 * j + 2] < 255 && j + 2 < pairs) ++j;
      const int64_t s = stops[2 * j];
      const int64_t e = stops[2 * j + 2];
      const uint32_t cs = static_cast<uint32_t>(stops[2 * j + 1]);
      const uint32_t ce = static_cast<uint32_t>(stops[2 * j + 3]);
      uint32_t value;
      if (i >= e) value = ce;
      else if (i <= s) value = cs;
      else value = mixBytes(cs, ce, i - s, e - s);
      ramp[static_cast<size_t>(i)] = value;
    }
  }
  if (!(scale >= 0) || scale == 0) scale = 1;  // below 0, zero and NaN count as 1
  double theta = -angleDeg * kPieAndGradientPi / 180;
  if (!std::isfinite(theta)) theta = 0;
  const int64_t p = fixedStep(std::sin(theta) * 4096 / scale);
  const int64_t q = fixedStep(std::cos(theta) * 4096 / scale);
  return std::make_unique<GradientColor>(ramp, p, q, startX, startY);
}

uint32_t ShearColor::colorAt(int64_t x, int64_t y) {
  return inner_->colorAt((a_ * x + b_ * y + c_) >> 12, (d_ * x + e_ * y + f_) >> 12);
}

}  // namespace quorvane
