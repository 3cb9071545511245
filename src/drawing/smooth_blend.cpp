// How smooth shapes meet the pixels: a run of coverage c (of 255) blends its
// colour with its opacity scaled by c, so that full coverage is exactly the
// aliased drawing. Inside a seam group, partial coverage of a pixel that the
// group covered only partly before is added beside the earlier shares:
// with U what lay under the pixel and B the colour over U, the pixel moves by
// c/255 of (B - U) while the shares sum to at most the whole pixel, and the
// rest is blended over as usual.
#include <algorithm>

#include "drawing/draw_area_impl.h"

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

bool DrawAreaImpl::isOrderedColor(uint32_t resolved) const {
  if (!isSpecialColor(resolved)) return false;
  const size_t index = colorIndex(resolved);
  return index < specials_.size() && specials_[index]->isOrdered();
}

void DrawAreaImpl::coverRun(int64_t y, int64_t x1, int64_t x2, uint32_t coverage,
                            uint32_t resolved, bool joinsSeams) {
  if (seamDepth_ == 0 || !joinsSeams) coverage = stepped(coverage);
  if (coverage == 0) return;
  if (coverage >= 255) {
    span(x1, x2, y, resolved);
    return;
  }
  const bool isPlain = !isSpecialColor(resolved);
  for (int64_t x = x1; x <= x2; ++x)
    coverPixel(x, y, isPlain ? resolved : evaluate(resolved, x, y), coverage, joinsSeams);
}

void DrawAreaImpl::coverPixel(int64_t x, int64_t y, uint32_t c, uint32_t coverage,
                              bool joinsSeams) {
  if ((c >> 24) == 255 || coverage == 0) return;
  if (coverage >= 255) {
    blendAt(x, y, c);
    return;
  }
  uint32_t &p = pixels_[static_cast<size_t>(y * width_ + x)];
  if (seamDepth_ == 0 || !joinsSeams) {
    p = blend(p, withCoverage(c, stepped(coverage)));
    return;
  }
  // In a group each shape draws its own rounded share, and the shape that
  // completes the pixel's coverage (as far as rounding tells) draws what is
  // left of it, so that shares summing to the whole pixel draw it whole.
  SeamPixel &s = seamPixel(static_cast<uint32_t>(y * width_ + x), p);
  // Changed since by something outside the group: start afresh.
  if (s.last != p) s = SeamPixel{p, p, 0, 0};
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

DrawAreaImpl::SeamPixel &DrawAreaImpl::seamPixel(uint32_t index, uint32_t p) {
  if (2 * (seamCount_ + 1) > seamSlots_.size()) {
    // A chart's partly covered pixels lie along its edges: start with room
    // for a few times its perimeter (at most 16 Ki slots, 320 KiB), and grow.
    size_t size = seamSlots_.size() * 2;
    if (size == 0) {
      const size_t wanted = std::min<size_t>(4 * static_cast<size_t>(width_ + height_), 1 << 14);
      for (size = 1024; size < wanted;) size *= 2;
    }
    std::vector<SeamSlot> grown(size, SeamSlot{0, {}});
    const size_t mask = grown.size() - 1;
    for (const SeamSlot &slot : seamSlots_) {
      if (slot.key == 0) continue;
      size_t i = (slot.key * size_t{2654435761u}) & mask;
      while (grown[i].key != 0) i = (i + 1) & mask;
      grown[i] = slot;
    }
    seamSlots_.swap(grown);
  }
  const uint32_t key = index + 1;
  const size_t mask = seamSlots_.size() - 1;
  size_t i = (key * size_t{2654435761u}) & mask;
  while (seamSlots_[i].key != 0) {
    if (seamSlots_[i].key == key) return seamSlots_[i].pixel;
    i = (i + 1) & mask;
  }
  ++seamCount_;
  seamSlots_[i] = SeamSlot{key, SeamPixel{p, p, 0, 0}};
  return seamSlots_[i].pixel;
}

SeamGroup::SeamGroup(DrawArea &area) : area_(dynamic_cast<DrawAreaImpl *>(&area)) {
  if (area_ != nullptr) ++area_->seamDepth_;
}

SeamGroup::~SeamGroup() {
  if (area_ == nullptr) return;
  if (--area_->seamDepth_ == 0) {
    // Swapped with an empty table, which holds no memory.
    std::vector<DrawAreaImpl::SeamSlot>().swap(area_->seamSlots_);
    area_->seamCount_ = 0;
  }
}

}  // namespace quorvane
