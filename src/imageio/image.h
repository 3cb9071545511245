// The narrow view the codecs have of a drawing surface, the image a reader
// produces, and the size limits every reader enforces. Nothing here knows the
// DrawArea implementation: the drawing subsystem fills an ImageView to encode
// and adopts a DecodedImage after a successful read.
#pragma once

#include <cstdint>
#include <vector>

#include "base/colors.h"

namespace quorvane::imageio {

// Pixels are 0xAARRGGBB with AA = transparency (0 opaque, 255 invisible),
// row-major, `width` values a row.
struct ImageView {
  const uint32_t *pixels = nullptr;
  int width = 0;
  int height = 0;
  bool interlace = false;
  uint32_t transparentColor = kTransparent;  // none
  int paletteMode = 0;
  int ditherMethod = 2;

  bool hasTransparentColor() const { return transparentColor != kTransparent; }
};

struct DecodedImage {
  int width = 0;
  int height = 0;
  std::vector<uint32_t> pixels;
  bool progressive = false;  // JPEG only: the file was progressive
};

// Readers refuse images outside these bounds before allocating anything.
inline constexpr int64_t kMaxSide = 65535;
inline constexpr int64_t kMaxPixels = int64_t{1} << 26;

struct DecodeLimits {
  int64_t maxPixels = kMaxPixels;
};

inline bool sizeAllowed(int64_t width, int64_t height, const DecodeLimits &limits) {
  return width >= 1 && height >= 1 && width <= kMaxSide && height <= kMaxSide &&
         width * height <= limits.maxPixels;
}

}  // namespace quorvane::imageio
