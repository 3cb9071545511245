// One laid-out line of text: its measurements and its glyphs, rendered once
// at layout into quantised coverage masks, so that drawing is a mask copy.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "text/font_manager.h"
#include "text/glyph_mask.h"
#include "text/text_canvas.h"
#include "text/text_style.h"

namespace quorvane::text {

class TextLine {
 public:
  // Lays out text in one line; the caller holds the font lock. pixelBudget
  // is what the text's masks may still take, and is reduced by this line's.
  static TextLine layout(std::u16string_view text, const TextStyle &style, FontManager &fonts,
                         const FontManager::Lock &lock, uint64_t &pixelBudget);

  int width() const { return width_; }
  int height() const { return height_; }
  int lineDistance() const { return lineDistance_; }
  bool hasFace() const { return hasFace_; }
  // Quarter turns of a face without outlines (0 for scalable faces).
  int quadrant() const { return quadrant_; }
  const std::vector<GlyphMask> &glyphs() const { return glyphs_; }

  // Draws with the box point named by alignment (1 ... 9) at (x, y) in a
  // colour already looked up in the canvas's table.
  void draw(TextCanvas &canvas, int64_t x, int64_t y, uint32_t color, int alignment) const;

 private:
  // (px, py) of a mask pixel in the box, turned by the quadrant.
  void turn(int64_t &px, int64_t &py) const;
  // Whether any pixel of glyph g, drawn with the box at (x, y), is on the canvas.
  bool lands(const TextCanvas &canvas, int64_t x, int64_t y, const GlyphMask &g) const;
  void drawPlain(TextCanvas &canvas, int64_t x, int64_t y, uint32_t color) const;
  void drawSpecial(TextCanvas &canvas, int64_t x, int64_t y, uint32_t color) const;

  int width_ = 0;
  int height_ = 0;
  int lineDistance_ = 0;
  int quadrant_ = 0;
  bool hasFace_ = false;
  uint8_t fullLevel_ = kFullLevel;  // kFullLevel, or kSteppedLevels in steps
  std::vector<GlyphMask> glyphs_;
};

}  // namespace quorvane::text
