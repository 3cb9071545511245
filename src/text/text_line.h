// One laid-out line of text: its measurements and its glyphs, rendered once
// at layout into quantised coverage masks, so that drawing is a mask copy.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "text/font_manager.h"
#include "text/text_canvas.h"
#include "text/text_style.h"

namespace quorvane::text {

// Coverage is kept quantised: level 0 draws nothing, levels 1 to 7 stand for
// the coverages 32k - 1 (31 ... 223), and kFullLevel is full coverage.
inline constexpr uint8_t kFullLevel = 8;

// A glyph bitmap is left out (as one that fails to render) when a side
// exceeds 65,535 pixels or its area 2^26 pixels, and the glyphs of one text
// share a budget of 2^26 pixels: no text makes the library allocate more
// than 64 MB of masks, whatever size a host asks for.
inline constexpr uint64_t kMaxGlyphSide = 65535;
inline constexpr uint64_t kMaxGlyphPixels = uint64_t{1} << 26;
inline constexpr uint64_t kTextPixelBudget = uint64_t{1} << 26;

// Sizes above this are laid out at it: its em square is at the bitmap side
// limit, and FreeType refuses sizes whose pixel size leaves 16 bits.
inline constexpr double kMaxFontSizePt = 49000.0;

struct GlyphMask {
  int64_t x = 0;  // image offset of the mask's top-left pixel from the
  int64_t y = 0;  // top-left of the text's box (y downwards)
  int32_t width = 0;
  int32_t rows = 0;
  std::vector<uint8_t> levels;  // rows x width coverage levels, row-major
};

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
  void drawPlain(TextCanvas &canvas, int64_t x, int64_t y, uint32_t color) const;
  void drawSpecial(TextCanvas &canvas, int64_t x, int64_t y, uint32_t color) const;

  int width_ = 0;
  int height_ = 0;
  int lineDistance_ = 0;
  int quadrant_ = 0;
  bool hasFace_ = false;
  std::vector<GlyphMask> glyphs_;
};

}  // namespace quorvane::text
