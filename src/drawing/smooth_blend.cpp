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

namespace quorvane {

uint32_t BlendLevels::redrawn(const Mix &mix, uint32_t step) {
  if (step == 0) return mix.from;
  if (step >= kSteps) return mix.full;
  return addShare(mix.from, mix.from, mix.full, coverageOf(step));
}

BlendLevels::Census BlendLevels::censusOf(const uint32_t *pixels, size_t count) {
  Census census;
  for (size_t i = 0; i < count;) {
    size_t end = i + 1;
    while (end < count && pixels[end] == pixels[i]) ++end;
    const auto [it, isNew] = census.pixelsOf.try_emplace(pixels[i], 0);
    if (isNew) census.order.push_back(pixels[i]);
    it->second += end - i;
    i = end;
  }
  return census;
}

size_t BlendLevels::settle(uint32_t *pixels, size_t count, int budget) {
  if (mixes_.empty()) return 0;
  const Census census = censusOf(pixels, count);
  const std::vector<uint32_t> &order = census.order;
  if (order.size() <= static_cast<size_t>(budget)) return 0;

  std::unordered_map<uint64_t, int> pairOf;
  std::vector<imageio::BlendPair> pairs;
  std::vector<int> pairOfColor(order.size(), -1);
  int fixed = 0;
  for (size_t k = 0; k < order.size(); ++k) {
    const auto mix = mixes_.find(order[k]);
    if (mix == mixes_.end()) {
      ++fixed;
      continue;
    }
    const uint64_t key = uint64_t{mix->second.from} << 32 | mix->second.full;
    const auto [it, isNew] = pairOf.try_emplace(key, static_cast<int>(pairs.size()));
    if (isNew) pairs.emplace_back();
    pairOfColor[k] = it->second;
    imageio::BlendPair &pair = pairs[static_cast<size_t>(it->second)];
    pair.pixels += census.pixelsOf.at(order[k]);
    pair.stepsUsed |= uint64_t{1} << mix->second.step;
  }
  const bool fits = imageio::fitBlendPairs(pairs, fixed, budget);
  size_t changed = redraw(pixels, count, remapOf(order, pairOfColor, pairs));
  if (!fits && fixed < budget) changed += redraw(pixels, count, nearestOf(censusOf(pixels, count), budget));
  return changed;
}

std::unordered_map<uint32_t, uint32_t> BlendLevels::nearestOf(const Census &census, int budget) const {
  // Every fixed colour is kept, then the commonest blends while they fit.
  std::vector<uint32_t> kept, blends;
  for (const uint32_t color : census.order) (mixes_.count(color) ? blends : kept).push_back(color);
  std::stable_sort(blends.begin(), blends.end(), [&](uint32_t a, uint32_t b) {
    return census.pixelsOf.at(a) > census.pixelsOf.at(b);
  });
  const size_t room = static_cast<size_t>(budget) - kept.size();
  std::unordered_map<uint32_t, uint32_t> remap;
  if (blends.size() <= room) return remap;
  kept.insert(kept.end(), blends.begin(), blends.begin() + static_cast<ptrdiff_t>(room));
  const auto distance = [](uint32_t a, uint32_t b) {
    uint32_t sum = 0;
    for (int shift = 0; shift < 32; shift += 8) {
      const int d = static_cast<int>((a >> shift) & 255) - static_cast<int>((b >> shift) & 255);
      sum += static_cast<uint32_t>(d * d);
    }
    return sum;
  };
  for (size_t k = room; k < blends.size(); ++k) {
    uint32_t best = kept.front();
    for (const uint32_t c : kept)
      if (distance(blends[k], c) < distance(blends[k], best)) best = c;
    remap.emplace(blends[k], best);
  }
  return remap;
}

std::unordered_map<uint32_t, uint32_t> BlendLevels::remapOf(
    const std::vector<uint32_t> &order, const std::vector<int> &pairOfColor,
    const std::vector<imageio::BlendPair> &pairs) {
  // One colour per pair and step: a colour the image holds at a step its
  // pair keeps stands for that step, so that colours moved onto the step,
  // or made alike by another rounding, join it rather than add to it.
  std::unordered_map<uint64_t, uint32_t> colorAt;
  const auto keyOf = [](int pair, uint32_t step) { return uint64_t(uint32_t(pair)) << 8 | step; };
  const auto stepKept = [&](size_t k) {
    const int levels = pairs[static_cast<size_t>(pairOfColor[k])].levels;
    const Mix &mix = mixes_.at(order[k]);
    const int level = imageio::stepOnGrid(static_cast<int>(mix.step), levels);
    return static_cast<uint32_t>(level) * kSteps / static_cast<uint32_t>(levels);
  };
  for (size_t k = 0; k < order.size(); ++k)
    if (pairOfColor[k] >= 0 && stepKept(k) == mixes_.at(order[k]).step)
      colorAt.try_emplace(keyOf(pairOfColor[k], stepKept(k)), order[k]);
  std::unordered_map<uint32_t, uint32_t> remap;
  std::vector<std::pair<uint32_t, Mix>> made;
  for (size_t k = 0; k < order.size(); ++k) {
    if (pairOfColor[k] < 0) continue;
    const Mix &mix = mixes_.at(order[k]);
    const uint32_t step = stepKept(k);
    const auto [it, isNew] = colorAt.try_emplace(keyOf(pairOfColor[k], step), 0);
    if (isNew) {
      it->second = redrawn(mix, step);
      made.emplace_back(it->second, Mix{mix.from, mix.full, step});
    }
    if (it->second != order[k]) remap.emplace(order[k], it->second);
  }
  // The new colours keep their pairs for a later settle.
  for (const auto &[color, mix] : made) record(color, mix.from, mix.full, mix.step);
  return remap;
}

size_t BlendLevels::redraw(uint32_t *pixels, size_t count,
                           const std::unordered_map<uint32_t, uint32_t> &remap) {
  if (remap.empty()) return 0;
  size_t changed = 0;
  for (size_t i = 0; i < count;) {
    size_t end = i + 1;
    while (end < count && pixels[end] == pixels[i]) ++end;
    const auto it = remap.find(pixels[i]);
    if (it != remap.end()) {
      std::fill(pixels + i, pixels + end, it->second);
      changed += end - i;
    }
    i = end;
  }
  return changed;
}

}  // namespace quorvane
