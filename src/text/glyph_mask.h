// A rendered glyph kept as quantised coverage, and the limits on how much a
// glyph or a text may render.
#pragma once

#include <cstdint>
#include <vector>

namespace quorvane::text {

// A rendered glyph keeps its coverage (of 255). A laid-out line keeps it
// quantised: level 0 draws nothing, levels 1 to 7 stand for the coverages
// 32k - 1 (31 ... 223), and kFullLevel is full coverage; or, for text drawn
// among smooth shapes in steps, k of kSteppedLevels steps stands for the
// coverage k * 255 / kSteppedLevels, rounded.
inline constexpr uint8_t kFullLevel = 8;
inline constexpr uint8_t kSteppedLevels = 16;

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

}  // namespace quorvane::text
