// The palette levels of smooth drawing in steps (SmoothQuarters): partial
// coverage is rounded to the nearest of imageio::kBlendSteps steps, and each
// colour a partial blend makes is remembered as a pair (the colour before, the
// colour full coverage gives) and its step. When a palette image is written,
// settle() keeps every step if the image fits 256 colours; otherwise the pairs
// that blend the fewest pixels are put on quarters and their pixels redrawn
// at the rounded steps. Pairs too many to fit even in quarters (chains of
// blends over blends) leave the commonest on every step while they fit and
// the rest on quarters, and the blends past the budget go, the rarest first,
// to the nearest colour kept. A colour made
// alike by another route (a plain colour equal to a blend) is treated as the
// blend; the record keeps at most kMaxMixes colours, any further ones count as
// fixed colours.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "drawing/color_keyed_table.h"
#include "imageio/palette.h"

namespace quorvane {

class BlendLevels {
 public:
  static constexpr uint32_t kSteps = imageio::kBlendSteps;
  static constexpr size_t kMaxMixes = size_t{1} << 16;

  // Coverage (of 255) to the nearest step; 255 does not fall on a tie.
  static uint32_t stepOf(uint32_t coverage) { return (coverage * kSteps + 127) / 255; }
  static uint32_t coverageOf(uint32_t step) { return (step * 255 + kSteps / 2) / kSteps; }

  // Remembers that blended is from moved step / kSteps of the way to full;
  // a blend that came out as one of its ends is no mix.
  void record(uint32_t blended, uint32_t from, uint32_t full, uint32_t step) {
    if (step == 0 || step >= kSteps || blended == from || blended == full) return;
    if (blended == last_ && hasLast_) return;
    if (mixes_.size() < kMaxMixes) mixes_.insert(blended, Mix{from, full, step});
    last_ = blended;
    hasLast_ = true;
  }
  // The colour full coverage gives in blended's pair, when blended is a mix
  // over from.
  bool fullOver(uint32_t blended, uint32_t from, uint32_t &full) const {
    const Mix *mix = mixes_.find(blended);
    if (mix == nullptr || mix->from != from) return false;
    full = mix->full;
    return true;
  }
  bool isEmpty() const { return mixes_.isEmpty(); }
  size_t size() const { return mixes_.size(); }

  // Puts the pairs of pixels[0 .. count-1] on grids that fit budget colours
  // as described above; returns the number of pixels changed.
  size_t settle(uint32_t *pixels, size_t count, int budget);

 private:
  struct Mix {
    uint32_t from = 0;
    uint32_t full = 0;
    uint32_t step = 0;
  };
  // The colours of an image in order of first appearance, with their pixel
  // counts and places, and the image's runs of one colour (where each ends,
  // its colour's place), so that a run costs one look-up and the redraw none.
  struct Census {
    std::vector<uint32_t> order;
    std::vector<uint64_t> pixels;
    ColorKeyedTable<uint32_t> placeOf;
    std::vector<std::pair<size_t, uint32_t>> runs;
  };
  static void take(Census &census, const uint32_t *pixels, size_t count);
  // The colour each colour of the census becomes on its pair's grid (pairOf:
  // its pair, -1 for none); the new colours are recorded.
  std::vector<uint32_t> onGrids(const Census &census, const std::vector<int> &pairOf,
                                const std::vector<imageio::BlendPair> &pairs);
  // When the pairs do not fit even in quarters: each blend past the budget
  // (the rarest first) to the nearest colour kept, fixed colours all kept.
  void keepNearest(const Census &census, std::vector<uint32_t> &newColor, int budget) const;
  // The colour a mix of its pair gives at another step.
  static uint32_t redrawn(const Mix &mix, uint32_t step);
  // Gives each pixel the new colour of its colour; returns the pixels changed.
  static size_t redraw(uint32_t *pixels, const Census &census,
                       const std::vector<uint32_t> &newColor);

  ColorKeyedTable<Mix> mixes_;
  uint32_t last_ = 0;
  bool hasLast_ = false;
};

}  // namespace quorvane
