// The exact palette pass. The first-appearance order of colours is part of
// the result, so the pass walks the pixels in order; runs of one colour (most
// of a chart) cost one compare a pixel, and a new run looks its colour up in
// a small open-addressed table of at most 257 entries.
#include "imageio/palette.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <numeric>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace quorvane::imageio {

namespace {

// 1024 slots for at most 257 keys keeps probe chains short. A slot's key is
// the RGB value with bit 24 set, so that 0 marks an empty slot.
class ColorIndexTable {
 public:
  static constexpr int kFull = -1;

  ColorIndexTable() { std::memset(keys_, 0, sizeof keys_); }

  // The index of rgb, giving it the next index when new; kFull when it would
  // be the 257th colour.
  int indexOf(uint32_t rgb) {
    const uint32_t key = rgb | 0x01000000u;
    uint32_t slot = (key * 0x9E3779B1u) >> (32 - kSlotBits);
    while (keys_[slot] != 0) {
      if (keys_[slot] == key) return values_[slot];
      slot = (slot + 1) & (kSlots - 1);
    }
    if (count_ == 256) return kFull;
    keys_[slot] = key;
    values_[slot] = static_cast<uint8_t>(count_);
    order_[count_] = rgb;
    return count_++;
  }

  int count() const { return count_; }
  uint32_t colorAt(int index) const { return order_[index]; }

 private:
  static constexpr int kSlotBits = 10;
  static constexpr uint32_t kSlots = 1u << kSlotBits;
  uint32_t keys_[kSlots];
  uint8_t values_[kSlots];
  uint32_t order_[256];
  int count_ = 0;
};

// The end of the run of pixels with RGB value rgb that starts before i. The
// vector loop compares four pixels at a time and stands for
//   while (i < total && (px[i] & 0xFFFFFF) == rgb) ++i;
size_t runEnd(const uint32_t *px, size_t i, size_t total, uint32_t rgb) {
#if defined(__SSE2__)
  const __m128i mask = _mm_set1_epi32(0x00FFFFFF);
  const __m128i want = _mm_set1_epi32(static_cast<int>(rgb));
  while (i + 4 <= total) {
    const __m128i v = _mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i *>(px + i)), mask);
    const unsigned same = static_cast<unsigned>(_mm_movemask_ps(_mm_castsi128_ps(_mm_cmpeq_epi32(v, want))));
    if (same != 0xF) return i + static_cast<size_t>(std::countr_one(same));
    i += 4;
  }
#endif
  while (i < total && (px[i] & 0xFFFFFFu) == rgb) ++i;
  return i;
}

}  // namespace

int reducePalette(const ImageView &view, uint32_t *palette, uint8_t *indices,
                  int &transparentIndex, bool force) {
  ColorIndexTable table;
  if (view.hasTransparentColor()) table.indexOf(view.transparentColor & 0xFFFFFFu);

  const size_t total = static_cast<size_t>(view.width) * static_cast<size_t>(view.height);
  const uint32_t *px = view.pixels;
  size_t i = 0;
  while (i < total) {
    const uint32_t rgb = px[i] & 0xFFFFFFu;
    const int index = table.indexOf(rgb);
    if (index == ColorIndexTable::kFull) {
      if (!force) return 0;
      return reduceToCube(view, palette, indices, transparentIndex);
    }
    const size_t end = runEnd(px, i + 1, total, rgb);
    std::memset(indices + i, index, end - i);
    i = end;
  }
  for (int k = 0; k < table.count(); ++k) palette[k] = table.colorAt(k);
  transparentIndex = view.hasTransparentColor() ? 0 : -1;
  return table.count();
}

int stepOnGrid(int step, int levels) {
  const int scaled = step * levels;
  int level = scaled / kBlendSteps;
  const int twiceRest = 2 * (scaled % kBlendSteps);
  if (twiceRest > kBlendSteps || (twiceRest == kBlendSteps && level % 2 == 1)) ++level;
  return level;
}

int blendPairColors(uint64_t stepsUsed, int levels) {
  uint64_t onGrid = 0;
  for (int step = 1; step <= kBlendSteps; ++step)
    if (stepsUsed >> step & 1) onGrid |= uint64_t{1} << stepOnGrid(step, levels);
  return std::popcount(onGrid & ~uint64_t{1});
}

bool fitBlendPairs(std::vector<BlendPair> &pairs, int fixedColors, int budget) {
  int total = fixedColors;
  for (auto &pair : pairs) {
    pair.levels = kBlendSteps;
    total += blendPairColors(pair.stepsUsed, kBlendSteps);
  }
  if (total <= budget) return true;
  std::vector<size_t> rarestFirst(pairs.size());
  std::iota(rarestFirst.begin(), rarestFirst.end(), size_t{0});
  std::stable_sort(rarestFirst.begin(), rarestFirst.end(),
                   [&](size_t a, size_t b) { return pairs[a].pixels < pairs[b].pixels; });
  for (const size_t i : rarestFirst) {
    if (total <= budget) return true;
    BlendPair &pair = pairs[i];
    total += blendPairColors(pair.stepsUsed, 4) - blendPairColors(pair.stepsUsed, pair.levels);
    pair.levels = 4;
  }
  if (total <= budget) return true;
  // Too many pairs even for quarters: the commonest keep every step while
  // they fit, the rest quarters, and the caller maps what is left over.
  total = fixedColors;
  bool isFull = false;
  for (auto it = rarestFirst.rbegin(); it != rarestFirst.rend(); ++it) {
    BlendPair &pair = pairs[*it];
    const int colors = blendPairColors(pair.stepsUsed, kBlendSteps);
    isFull = isFull || total + colors > budget;
    pair.levels = isFull ? 4 : kBlendSteps;
    if (!isFull) total += colors;
  }
  return false;
}

}  // namespace quorvane::imageio
