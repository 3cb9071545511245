// Drawing a laid-out line: the masks are copied into the canvas. Coverage v
// (quantised to q = (v + 1) / 32 * 32 - 1, or in steps to the nearest
// 16th) draws colour w with transparency t = (65025 - (255 - alpha(w)) * q)
// / 255, nothing when t reaches 255; full coverage draws the colour itself.
// For a plain colour the levels map to fixed colours, worked out once per
// draw (stepped ones remembered as blends by the canvas); a special colour is evaluated
// pixel by pixel, in mask order, as its state (a dash) depends on the order;
// a glyph with no pixel on the area is skipped whole, as none of its pixels
// would be blended or evaluated.
#include "text/text_line.h"

#include <algorithm>

#include "base/alignment.h"

namespace quorvane::text {

namespace {

// Transparency of a partly covered pixel in evaluated colour w, at a level
// of fullLevel.
uint32_t partialTransparency(uint32_t w, uint8_t level, uint8_t fullLevel) {
  const uint32_t q = level == 0                ? 0
                     : fullLevel == kFullLevel ? 32u * level - 1
                                               : (level * 255u + kSteppedLevels / 2) / kSteppedLevels;
  return (65025 - (255 - (w >> 24)) * q) / 255;
}

}  // namespace

void TextLine::turn(int64_t &px, int64_t &py) const {
  const int64_t x = px, y = py;
  switch (quadrant_) {
    case 1: px = y, py = height_ - x; break;
    case 2: px = width_ - x, py = height_ - y; break;
    case 3: px = width_ - y, py = x; break;
    default: break;
  }
}

bool TextLine::lands(const TextCanvas &canvas, int64_t x, int64_t y, const GlyphMask &g) const {
  // The mask's first and last pixels, turned, span its turned box.
  int64_t x0 = g.x, y0 = g.y, x1 = g.x + g.width - 1, y1 = g.y + g.rows - 1;
  turn(x0, y0);
  turn(x1, y1);
  return canvas.touches(x + std::min(x0, x1), y + std::min(y0, y1), x + std::max(x0, x1) + 1,
                        y + std::max(y0, y1) + 1);
}

void TextLine::draw(TextCanvas &canvas, int64_t x, int64_t y, uint32_t color,
                    int alignment) const {
  if (color == kTransparent || glyphs_.empty()) return;
  x -= alignedOffsetX(alignment, width_);
  y -= alignedOffsetY(alignment, height_);
  if (isSpecialColor(color))
    drawSpecial(canvas, x, y, color);
  else
    drawPlain(canvas, x, y, color);
}

void TextLine::drawPlain(TextCanvas &canvas, int64_t x, int64_t y, uint32_t color) const {
  uint32_t palette[kSteppedLevels + 1];
  palette[0] = kTransparent;
  palette[fullLevel_] = color;
  for (uint8_t level = 1; level < fullLevel_; ++level) {
    const uint32_t t = partialTransparency(color, level, fullLevel_);
    palette[level] = t < 255 ? (color & 0x00FFFFFFu) | (t << 24) : kTransparent;
  }
  const bool isStepped = fullLevel_ == kSteppedLevels;
  const auto blendRun = [&](int64_t px, int64_t py, const uint8_t *levels, size_t count) {
    if (isStepped)
      canvas.blendSteps(px, py, levels, count, palette);
    else
      canvas.blendLevels(px, py, levels, count, palette);
  };
  for (const auto &g : glyphs_) {
    if (!lands(canvas, x, y, g)) continue;
    const uint8_t *levels = g.levels.data();
    for (int32_t r = 0; r < g.rows; ++r, levels += g.width) {
      if (quadrant_ == 0) {
        blendRun(x + g.x, y + g.y + r, levels, static_cast<size_t>(g.width));
        continue;
      }
      for (int32_t k = 0; k < g.width; ++k) {
        int64_t px = g.x + k, py = g.y + r;
        turn(px, py);
        blendRun(x + px, y + py, levels + k, 1);
      }
    }
  }
}

void TextLine::drawSpecial(TextCanvas &canvas, int64_t x, int64_t y, uint32_t color) const {
  for (const auto &g : glyphs_) {
    if (!lands(canvas, x, y, g)) continue;
    const uint8_t *level = g.levels.data();
    for (int32_t r = 0; r < g.rows; ++r) {
      for (int32_t k = 0; k < g.width; ++k, ++level) {
        int64_t px = g.x + k, py = g.y + r;
        turn(px, py);
        px += x;
        py += y;
        if (*level == fullLevel_) {
          canvas.plot(px, py, color);
          continue;
        }
        const uint32_t w = canvas.evaluate(color, px, py);
        const uint32_t t = partialTransparency(w, *level, fullLevel_);
        if (t < 255) canvas.plot(px, py, (w & 0x00FFFFFFu) | (t << 24));
      }
    }
  }
}

}  // namespace quorvane::text
