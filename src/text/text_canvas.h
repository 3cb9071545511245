// The narrow view of a drawing area that text is drawn through: colour
// resolution and pixel blending, nothing of the area's other state. The
// drawing subsystem implements it, so it can call text without a cycle.
#pragma once

#include <cstddef>
#include <cstdint>

#include "base/colors.h"

namespace quorvane::text {

class TextCanvas {
 public:
  virtual ~TextCanvas() = default;

  // The table step of colour resolution (one level).
  virtual uint32_t lookup(uint32_t color) = 0;
  // The position step: a special colour's value at (x, y); other colours
  // unchanged. May advance a special colour's state (a dash pattern).
  virtual uint32_t evaluate(uint32_t resolved, int64_t x, int64_t y) = 0;
  // Evaluates a looked-up colour at (x, y) and blends it in; outside the area,
  // or for Transparent, nothing happens and nothing is evaluated.
  virtual void plot(int64_t x, int64_t y, uint32_t resolved) = 0;
  // Whether any pixel of columns [left, right) and rows [top, bottom) lies
  // in the area: a glyph that has none is left alone without a look at its
  // mask.
  virtual bool touches(int64_t left, int64_t top, int64_t right, int64_t bottom) const = 0;
  // Blends palette[levels[i]] into pixel (x + i, y) for i < count, clipped to
  // the area; palette entries equal to Transparent leave the pixel alone.
  // The palette holds evaluated colours only.
  virtual void blendLevels(int64_t x, int64_t y, const uint8_t *levels, size_t count,
                           const uint32_t *palette) = 0;
  // The same for levels in kSteppedLevels steps of coverage (palette[k] the
  // text colour at k steps), which an area drawing smooth shapes in steps
  // remembers as blends of the text colour over what lay under it.
  virtual void blendSteps(int64_t x, int64_t y, const uint8_t *steps, size_t count,
                          const uint32_t *palette) {
    blendLevels(x, y, steps, count, palette);
  }
};

}  // namespace quorvane::text
