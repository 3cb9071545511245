// Settling smooth drawing's stepped blends into a palette's colours: one
// census of the image, the pairs' grids from imageio::fitBlendPairs, the
// nearest kept colour for what still does not fit, and one pass that gives
// every pixel its new colour.
#include "drawing/blend_levels.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <unordered_map>

#include "drawing/blend.h"

namespace quorvane {

uint32_t BlendLevels::redrawn(const Mix &mix, uint32_t step) {
  if (step == 0) return mix.from;
  if (step >= kSteps) return mix.full;
  return addShare(mix.from, mix.from, mix.full, coverageOf(step));
}

void BlendLevels::take(Census &census, const uint32_t *pixels, size_t count) {
  for (size_t i = 0; i < count;) {
    size_t end = i + 1;
    while (end < count && pixels[end] == pixels[i]) ++end;
    const auto [place, isNew] = census.placeOf.insert(pixels[i], static_cast<uint32_t>(census.order.size()));
    if (isNew) {
      census.order.push_back(pixels[i]);
      census.pixels.push_back(0);
    }
    census.pixels[*place] += end - i;
    census.runs.emplace_back(end, *place);
    i = end;
  }
}

size_t BlendLevels::settle(uint32_t *pixels, size_t count, int budget) {
  if (mixes_.isEmpty()) return 0;
  Census census;
  take(census, pixels, count);
  if (census.order.size() <= static_cast<size_t>(budget)) return 0;

  std::unordered_map<uint64_t, int> pairOfKey;
  std::vector<imageio::BlendPair> pairs;
  std::vector<int> pairOf(census.order.size(), -1);
  int fixed = 0;
  for (size_t k = 0; k < census.order.size(); ++k) {
    const Mix *mix = mixes_.find(census.order[k]);
    if (mix == nullptr) {
      ++fixed;
      continue;
    }
    const uint64_t key = uint64_t{mix->from} << 32 | mix->full;
    const auto [it, isNew] = pairOfKey.try_emplace(key, static_cast<int>(pairs.size()));
    if (isNew) pairs.emplace_back();
    pairOf[k] = it->second;
    imageio::BlendPair &pair = pairs[static_cast<size_t>(it->second)];
    pair.pixels += census.pixels[k];
    pair.stepsUsed |= uint64_t{1} << mix->step;
  }
  const bool fits = imageio::fitBlendPairs(pairs, fixed, budget);
  std::vector<uint32_t> newColor = onGrids(census, pairOf, pairs);
  if (!fits && fixed < budget) keepNearest(census, newColor, budget);
  return redraw(pixels, census, newColor);
}

std::vector<uint32_t> BlendLevels::onGrids(const Census &census, const std::vector<int> &pairOf,
                                           const std::vector<imageio::BlendPair> &pairs) {
  // One colour per pair and step: a colour the image holds at a step its
  // pair keeps stands for that step, so that colours moved onto the step,
  // or made alike by another rounding, join it rather than add to it.
  const std::vector<uint32_t> &order = census.order;
  std::vector<uint32_t> newColor = order, stepOf(order.size(), 0);
  std::unordered_map<uint64_t, uint32_t> colorAt;
  const auto keyOf = [&](size_t k) { return uint64_t(uint32_t(pairOf[k])) << 8 | stepOf[k]; };
  for (size_t k = 0; k < order.size(); ++k) {
    if (pairOf[k] < 0) continue;
    const int levels = pairs[static_cast<size_t>(pairOf[k])].levels;
    const uint32_t step = mixes_.find(order[k])->step;
    const int level = imageio::stepOnGrid(static_cast<int>(step), levels);
    stepOf[k] = static_cast<uint32_t>(level) * kSteps / static_cast<uint32_t>(levels);
    if (stepOf[k] == step) colorAt.try_emplace(keyOf(k), order[k]);
  }
  std::vector<std::pair<uint32_t, Mix>> made;
  for (size_t k = 0; k < order.size(); ++k) {
    if (pairOf[k] < 0) continue;
    const auto [it, isNew] = colorAt.try_emplace(keyOf(k), 0);
    if (isNew) {
      const Mix mix = *mixes_.find(order[k]);
      it->second = redrawn(mix, stepOf[k]);
      made.emplace_back(it->second, Mix{mix.from, mix.full, stepOf[k]});
    }
    newColor[k] = it->second;
  }
  // The new colours keep their pairs for a later settle.
  for (const auto &[color, mix] : made) record(color, mix.from, mix.full, mix.step);
  return newColor;
}

namespace {

// The kept colours in order of their channels' sum, so that the nearest to a
// colour is looked for outwards from its own sum: as (the sum of the channel
// differences)^2 is at most 4 times the squared distance, the search stops on
// each side once the sums differ by more than twice the best distance's root.
// Ties go to the colour kept first.
class NearestColor {
 public:
  explicit NearestColor(const std::vector<uint32_t> &colors) {
    for (uint32_t i = 0; i < colors.size(); ++i) kept_.push_back({sumOf(colors[i]), i, colors[i]});
    std::sort(kept_.begin(), kept_.end(),
              [](const Kept &a, const Kept &b) { return a.sum < b.sum || (a.sum == b.sum && a.place < b.place); });
  }
  uint32_t of(uint32_t color) const {
    const int32_t sum = sumOf(color);
    const auto start = std::lower_bound(kept_.begin(), kept_.end(), sum,
                                        [](const Kept &k, int32_t s) { return k.sum < s; });
    Best best;
    for (auto it = start; it != kept_.end() && best.allows(it->sum - sum); ++it) best.offer(*it, color);
    for (auto it = start; it != kept_.begin() && best.allows(sum - (it - 1)->sum); --it) best.offer(*(it - 1), color);
    return best.color;
  }

 private:
  struct Kept {
    int32_t sum;
    uint32_t place;
    uint32_t color;
  };
  struct Best {
    int64_t distance = INT64_MAX;
    uint32_t place = UINT32_MAX;
    uint32_t color = 0;
    bool allows(int64_t sumGap) const { return distance == INT64_MAX || sumGap * sumGap <= 4 * distance; }
    void offer(const Kept &k, uint32_t color) {
      int64_t d = 0;
      for (int shift = 0; shift < 32; shift += 8) {
        const int64_t diff = int64_t{k.color >> shift & 255} - int64_t{color >> shift & 255};
        d += diff * diff;
      }
      if (d < distance || (d == distance && k.place < place)) *this = Best{d, k.place, k.color};
    }
  };
  static int32_t sumOf(uint32_t c) {
    return static_cast<int32_t>((c & 255) + (c >> 8 & 255) + (c >> 16 & 255) + (c >> 24));
  }
  std::vector<Kept> kept_;
};

}  // namespace

void BlendLevels::keepNearest(const Census &census, std::vector<uint32_t> &newColor,
                              int budget) const {
  // The colours the grids leave, with their pixels.
  ColorKeyedTable<uint32_t> placeOf;
  std::vector<uint32_t> colors;
  std::vector<uint64_t> pixels;
  for (size_t k = 0; k < newColor.size(); ++k) {
    const auto [place, isNew] = placeOf.insert(newColor[k], static_cast<uint32_t>(colors.size()));
    if (isNew) {
      colors.push_back(newColor[k]);
      pixels.push_back(0);
    }
    pixels[*place] += census.pixels[k];
  }
  // Every fixed colour is kept, then the commonest blends while they fit.
  std::vector<uint32_t> kept, blends;
  for (size_t i = 0; i < colors.size(); ++i)
    (mixes_.find(colors[i]) ? blends : kept).push_back(static_cast<uint32_t>(i));
  const size_t room = static_cast<size_t>(budget) - kept.size();
  if (blends.size() <= room) return;
  std::stable_sort(blends.begin(), blends.end(),
                   [&](uint32_t a, uint32_t b) { return pixels[a] > pixels[b]; });
  kept.insert(kept.end(), blends.begin(), blends.begin() + static_cast<ptrdiff_t>(room));
  std::vector<uint32_t> keptColors;
  for (const uint32_t i : kept) keptColors.push_back(colors[i]);
  const NearestColor nearest(keptColors);
  std::vector<uint32_t> target = colors;
  for (size_t k = room; k < blends.size(); ++k) target[blends[k]] = nearest.of(colors[blends[k]]);
  for (uint32_t &c : newColor) c = target[*placeOf.find(c)];
}

size_t BlendLevels::redraw(uint32_t *pixels, const Census &census,
                           const std::vector<uint32_t> &newColor) {
  size_t changed = 0, start = 0;
  for (const auto &[end, place] : census.runs) {
    if (newColor[place] != census.order[place]) {
      std::fill(pixels + start, pixels + end, newColor[place]);
      changed += end - start;
    }
    start = end;
  }
  return changed;
}

}  // namespace quorvane
