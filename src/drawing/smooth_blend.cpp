// How smooth shapes meet the pixels: a run of coverage c (of 255) blends its
// colour with its opacity scaled by c, so that full coverage is exactly the
// aliased drawing. Inside a seam group, partial coverage of a pixel that the
// group covered only partly before is added beside the earlier shares:
// with U what lay under the pixel and B the colour over U, the pixel moves by
// c/255 of (B - U) while the shares sum to at most the whole pixel, and the
// rest is blended over as usual.
#include <algorithm>

#include "drawing/surface.h"

namespace quorvane {

namespace {

// Scales the opacity of an evaluated colour by coverage / 255.
uint32_t withCoverage(uint32_t c, uint32_t coverage) {
  const uint32_t opacity = ((255 - (c >> 24)) * coverage + 127) / 255;
  return ((255 - opacity) << 24) | (c & 0xFFFFFFu);
}

// p moved by share / 255 of (to - from), every byte alike.
uint32_t addShare(uint32_t p, uint32_t from, uint32_t to, uint32_t share) {
  uint32_t out = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const int32_t diff = static_cast<int32_t>((to >> shift) & 0xFF) -
                         static_cast<int32_t>((from >> shift) & 0xFF);
    const int32_t step = (diff * static_cast<int32_t>(share) + (diff >= 0 ? 127 : -127)) / 255;
    const int32_t v = std::clamp(static_cast<int32_t>((p >> shift) & 0xFF) + step, 0, 255);
    out |= static_cast<uint32_t>(v) << shift;
  }
  return out;
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
    p = blend(p, withCoverage(c, stepped(coverage)));
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
    p = addShare(p, s.under, full, share);
    s.drawn += share;
  } else {
    p = addShare(p, s.under, full, 255 - s.drawn);
    p = blend(p, withCoverage(c, stepped(coverage - free)));
    s.covered = s.drawn = 255;
  }
  s.last = p;
}

}  // namespace quorvane
