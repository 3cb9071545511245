// Position-dependent colours: dash patterns, tiled bitmaps, linear ramps and
// the shear that lays a pattern along an extruded face. Each object belongs to
// one DrawArea; the dash keeps state between evaluations, so the order in
// which a primitive visits its pixels is part of what it draws.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace quorvane {

class SpecialColor {
 public:
  virtual ~SpecialColor() = default;
  // Colour of pixel (x, y); may be Transparent, a plain colour, or a table
  // colour that was stored inside the object (never looked up again).
  virtual uint32_t colorAt(int64_t x, int64_t y) = 0;
  // Blends pixels x1 ... x2 of row y (row points at x = 0), left to right:
  // one virtual call a span instead of one a pixel.
  virtual void blendSpan(uint32_t *row, int64_t x1, int64_t x2, int64_t y);
  // Whether its value depends on the order of the pixels asked for.
  virtual bool isOrdered() const { return false; }
};

class DashColor final : public SpecialColor {
 public:
  DashColor(uint32_t color, uint32_t dashPattern);
  uint32_t colorAt(int64_t x, int64_t y) override;
  bool isOrdered() const override { return true; }
  const std::string &dashText() const { return dash_; }

 private:
  uint32_t color_;
  std::string dash_;            // "-" draws, " " skips, one char per pixel
  int64_t position_ = 0x7FFF0000;  // beyond any dash: the first pixel restarts
  int64_t lastX_ = 0;
  int64_t lastY_ = 0;
};

class PatternColor final : public SpecialColor {
 public:
  // A size outside the surface limits gives an empty pattern that is
  // Transparent everywhere.
  PatternColor(const int *pixels, int width, int height, int startX, int startY);
  uint32_t colorAt(int64_t x, int64_t y) override;
  void blendSpan(uint32_t *row, int64_t x1, int64_t x2, int64_t y) override;

 private:
  std::vector<uint32_t> pixels_;
  int64_t width_ = 0;
  int64_t height_ = 0;
  int64_t startX_;
  int64_t startY_;
};

class GradientColor final : public SpecialColor {
 public:
  using Ramp = std::array<uint32_t, 256>;
  // p and q are 4.12 fixed-point index steps per pixel along x and y.
  GradientColor(const Ramp &ramp, int64_t p, int64_t q, int64_t originX, int64_t originY)
      : ramp_(ramp), p_(p), q_(q), originX_(originX), originY_(originY) {}
  uint32_t colorAt(int64_t x, int64_t y) override;
  void blendSpan(uint32_t *row, int64_t x1, int64_t x2, int64_t y) override;

  // Two-colour ramp from color1 at (x1, y1) to color2 at (x2, y2).
  static std::unique_ptr<GradientColor> twoColor(int x1, int y1, int x2, int y2,
                                                 uint32_t color1, uint32_t color2);
  // Multi-stop ramp from (position, colour) pairs; at most stopInts ints are
  // read and reading stops at the first position of 255 or more.
  static std::unique_ptr<GradientColor> multiStop(const int *stops, size_t stopInts,
                                                  double angleDeg, double scale,
                                                  int startX, int startY);

 private:
  Ramp ramp_;
  int64_t p_;
  int64_t q_;
  int64_t originX_;
  int64_t originY_;
};

// Reads another special colour through the affine map
// ((a x + b y + c) >> 12, (d x + e y + f) >> 12) with 4.12 coefficients.
class ShearColor final : public SpecialColor {
 public:
  ShearColor(SpecialColor *inner, int64_t a, int64_t b, int64_t c, int64_t d, int64_t e,
             int64_t f)
      : inner_(inner), a_(a), b_(b), c_(c), d_(d), e_(e), f_(f) {}
  uint32_t colorAt(int64_t x, int64_t y) override;
  bool isOrdered() const override { return inner_->isOrdered(); }

 private:
  SpecialColor *inner_;  // not owned: it stays in the area's list
  int64_t a_, b_, c_, d_, e_, f_;
};

}  // namespace quorvane
