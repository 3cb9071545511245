// Surface: the pixels of a drawing area and every writer that touches them.
// One contiguous row-major buffer of 32-bit colour values, width x height,
// stride = width. Shapes, text and the codecs write through here, with
// colours already looked up in the area's table (AreaColors).
//
// Every span and column is clipped once and then written with one of three
// loops chosen before it starts: per-pixel evaluation for special colours,
// a plain store for opaque colours, the blending rule for the rest. Coverage
// runs from the smooth rasteriser blend their colour with its opacity
// scaled by the coverage (smooth_blend.cpp); inside an open seam group
// partial coverage of a pixel is added beside the group's earlier shares.
#pragma once

#include <cstdint>
#include <vector>

#include "drawing/area_colors.h"
#include "drawing/blend.h"
#include "drawing/blend_levels.h"
#include "drawing/seam_table.h"

namespace quorvane {

class Surface {
 public:
  explicit Surface(AreaColors &colors) : colors_(colors) {}
  Surface(const Surface &) = delete;
  Surface &operator=(const Surface &) = delete;

  int width() const { return width_; }
  int height() const { return height_; }
  bool contains(int64_t x, int64_t y) const {
    return x >= 0 && y >= 0 && x < width_ && y < height_;
  }
  const uint32_t *pixelData() const { return pixels_.data(); }
  uint32_t *row(int64_t y) { return pixels_.data() + y * width_; }
  AreaColors &colors() { return colors_; }

  // Replaces size and pixels at once (width * height values, both sides at
  // least 1).
  void adopt(int width, int height, std::vector<uint32_t> &&pixels);
  // A new size within the limits, keeping the pixels that stay and setting
  // the new ones to background (looked up). The new buffer is made before
  // anything changes, so running out of memory leaves the surface as it was.
  void resize(int width, int height, uint32_t background);
  // Sets every pixel to a looked-up colour, without blending; a special
  // colour is evaluated at each pixel, row by row.
  void fillWith(uint32_t resolved);

  // Pixel writers for colours already looked up; coordinates are clipped.
  void plot(int64_t x, int64_t y, uint32_t resolved);
  void span(int64_t x1, int64_t x2, int64_t y, uint32_t resolved);    // left to right
  void column(int64_t y1, int64_t y2, int64_t x, uint32_t resolved);  // top to bottom
  // The same for a colour that is already evaluated: it is blended as it is.
  void spanEvaluated(int64_t x1, int64_t x2, int64_t y, uint32_t c);
  void columnEvaluated(int64_t y1, int64_t y2, int64_t x, uint32_t c);
  // Blends one pixel inside the surface with an evaluated colour.
  void blendAt(int64_t x, int64_t y, uint32_t c) {
    uint32_t &p = pixels_[static_cast<size_t>(y * width_ + x)];
    p = blend(p, c);
  }
  // Blends palette[levels[i]] at (x + i, y), clipped to the surface; palette
  // entries equal to Transparent leave their pixels alone (glyph mask rows).
  void blendLevels(int64_t x, int64_t y, const uint8_t *levels, size_t count,
                   const uint32_t *palette);
  // The same for levels in BlendLevels::kSteps steps, palette[kSteps] the
  // whole colour; each blend is remembered as one of a pair.
  void blendSteps(int64_t x, int64_t y, const uint8_t *steps, size_t count,
                  const uint32_t *palette);

  // Coverage runs of one colour (already looked up), blended over what is
  // there; full coverage draws as the aliased shapes do. joinsSeams: a fill,
  // which takes part in an open seam group (pens are drawn over what is
  // there).
  void coverRun(int64_t y, int64_t x1, int64_t x2, uint32_t coverage, uint32_t resolved,
                bool joinsSeams);
  // Blends an evaluated colour at (x, y), inside the surface, with coverage
  // of 255.
  void coverPixel(int64_t x, int64_t y, uint32_t c, uint32_t coverage, bool joinsSeams);
  // Partial coverage is rounded to the nearest of BlendLevels::kSteps steps
  // and its colours remembered, so that a palette output can settle them
  // into 256 colours, unless the finest edges (255 steps) were asked for.
  void setFineCoverage(bool isFine) { hasFineCoverage_ = isFine; }
  bool hasFineCoverage() const { return hasFineCoverage_; }
  // Coverage (of 255) rounded to the surface's steps: kSteps, or all 255.
  uint32_t stepped(uint32_t coverage) const {
    if (hasFineCoverage_) return coverage;
    return BlendLevels::coverageOf(BlendLevels::stepOf(coverage));
  }
  // Puts the stepped blends on grids that fit budget colours
  // (BlendLevels::settle); returns the number of pixels changed.
  size_t settleLevels(int budget) { return levels_.settle(pixels_.data(), pixels_.size(), budget); }
  const BlendLevels &steppedBlends() const { return levels_; }
  SeamTable &seams() { return seams_; }

 private:
  // Records the colour a seam share made (smooth_blend.cpp).
  void recordShare(uint32_t before, uint32_t after, const SeamTable::Pixel &s, uint32_t full,
                   uint32_t share);

  AreaColors &colors_;
  std::vector<uint32_t> pixels_ = std::vector<uint32_t>(1, 0x00FFFFFFu);
  int width_ = 1;
  int height_ = 1;
  bool hasFineCoverage_ = false;
  SeamTable seams_;     // the open seam groups' pixels
  BlendLevels levels_;  // the colours stepped blends made
};

}  // namespace quorvane
