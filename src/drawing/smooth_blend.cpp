// How smooth shapes meet the pixels: a run of coverage c (of 255) blends its
// colour with its opacity scaled by c, so that full coverage is exactly the
// aliased drawing. Inside a seam group, partial coverage of a pixel that the
// group covered only partly before is added beside the earlier shares:
// with U what lay under the pixel and B the colour over U, the pixel moves by
// c/255 of (B - U) while the shares sum to at most the whole pixel, and the
// rest is blended over as usual. In steps (SmoothQuarters) every partial
// blend of one pair, and the mix two shares of a seam make, is recorded, and
// settle() moves the rarest pairs to coarser grids when a palette image would
// otherwise hold too many colours (drawing/blend_levels.h).
#include <algorithm>
#include <vector>

#include "drawing/surface.h"

namespace quorvane {

namespace {

// Scales the opacity of an evaluated colour by coverage / 255.
uint32_t withCoverage(uint32_t c, uint32_t coverage) {
  const uint32_t opacity = ((255 - (c >> 24)) * coverage + 127) / 255;
  return ((255 - opacity) << 24) | (c & 0xFFFFFFu);
}

}  // namespace

void Surface::coverRun(int64_t y, int64_t x1, int64_t x2, uint32_t coverage, uint32_t resolved,
                       bool joinsSeams) {
  if (!seams_.isOpen() || !joinsSeams) coverage = stepped(coverage);
  if (coverage == 0) return;
  if (coverage >= 255) {
    span(x1, x2, y, resolved);
    return;
  }
  const bool isPlain = !isSpecialColor(resolved);
  for (int64_t x = x1; x <= x2; ++x)
    coverPixel(x, y, isPlain ? resolved : colors_.evaluate(resolved, x, y), coverage, joinsSeams);
}

void Surface::coverPixel(int64_t x, int64_t y, uint32_t c, uint32_t coverage,
                         bool joinsSeams) {
  if (isInvisible(c) || coverage == 0) return;
  if (coverage >= 255) {
    blendAt(x, y, c);
    return;
  }
  uint32_t &p = pixels_[static_cast<size_t>(y * width_ + x)];
  if (!seams_.isOpen() || !joinsSeams) {
    const uint32_t before = p;
    p = blend(p, withCoverage(c, stepped(coverage)));
    if (!hasFineCoverage_) levels_.record(p, before, blend(before, c), BlendLevels::stepOf(coverage));
    return;
  }
  // In a group each shape draws its own rounded share, and the shape that
  // completes the pixel's coverage (as far as rounding tells) draws what is
  // left of it, so that shares summing to the whole pixel draw it whole.
  SeamTable::Pixel &s = seams_.at(static_cast<uint32_t>(y * width_ + x), p);
  const uint32_t free = 255 - s.covered;
  const uint32_t full = blend(s.under, c);
  if (coverage <= free) {
    s.covered += coverage;
    const uint32_t left = 255 - s.drawn;
    const uint32_t share = stepped(s.covered) == 255 ? left : std::min(stepped(coverage), left);
    const uint32_t before = p;
    p = addShare(p, s.under, full, share);
    s.drawn += share;
    if (!hasFineCoverage_) recordShare(before, p, s, full, share);
  } else {
    p = addShare(p, s.under, full, 255 - s.drawn);
    p = blend(p, withCoverage(c, stepped(coverage - free)));
    s.covered = s.drawn = 255;
  }
  s.last = p;
}

void Surface::blendSteps(int64_t x, int64_t y, const uint8_t *steps, size_t count,
                         const uint32_t *palette) {
  if (y < 0 || y >= height_) return;
  const int64_t first = std::max<int64_t>(0, -x);
  const int64_t end = std::min<int64_t>(static_cast<int64_t>(count), width_ - x);
  uint32_t *p = row(y) + x;
  const uint32_t whole = palette[BlendLevels::kSteps];
  for (int64_t i = first; i < end; ++i) {
    const uint32_t c = palette[steps[i]];
    if (c == kTransparent) continue;
    const uint32_t before = p[i];
    p[i] = blend(before, c);
    levels_.record(p[i], before, blend(before, whole), steps[i]);
  }
}

void Surface::recordShare(uint32_t before, uint32_t after, const SeamTable::Pixel &s,
                          uint32_t full, uint32_t share) {
  if (s.drawn == share) {
    levels_.record(after, s.under, full, BlendLevels::stepOf(share));
    return;
  }
  // The second colour to complete a pixel: a mix of the two whole colours.
  uint32_t first = 0;
  if (s.drawn == 255 && levels_.fullOver(before, s.under, first))
    levels_.record(after, full, first, BlendLevels::stepOf(255 - share));
}

}  // namespace quorvane
