// Palette reduction: turns 0xAARRGGBB pixels into at most 256 palette colours
// and one index byte per pixel. Only the RGB part of a pixel counts. An image
// of at most 256 colours (the transparent colour included) is kept exactly,
// in order of first appearance with the transparent colour first; a larger
// one is refused or mapped onto the 6x6x6 colour cube by the dither method.
#pragma once

#include <cstdint>

#include "imageio/image.h"

namespace quorvane::imageio {

inline constexpr int kCubeColors = 216;
inline constexpr int kCubeStep = 51;

// Fills palette[0 .. count-1] (0x00RRGGBB), indices (width * height bytes,
// row-major) and transparentIndex (-1: none) and returns count. Without force
// an image of more than 256 colours returns 0 and the outputs mean nothing.
int reducePalette(const ImageView &view, uint32_t *palette, uint8_t *indices,
                  int &transparentIndex, bool force);

// The cube reduction alone, by view.ditherMethod (0 nearest, 1 ordered 4x4,
// 2 Floyd-Steinberg; any other value nearest). Returns 216 or 217.
int reduceToCube(const ImageView &view, uint32_t *palette, uint8_t *indices,
                 int &transparentIndex);

}  // namespace quorvane::imageio
