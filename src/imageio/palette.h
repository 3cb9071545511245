// Palette reduction: turns 0xAARRGGBB pixels into at most 256 palette colours
// and one index byte per pixel. Only the RGB part of a pixel counts. An image
// of at most 256 colours (the transparent colour included) is kept exactly,
// in order of first appearance with the transparent colour first; a larger
// one is refused or mapped onto the 6x6x6 colour cube by the dither method.
#pragma once

#include <cstdint>
#include <vector>

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

// Palette levels for smooth drawing: a blended pixel mixes two known colours
// (a pair: what lay under it and the shape's colour over that) at one of
// kBlendSteps steps of coverage. A pair keeps all the steps when the image
// fits kPaletteColors; otherwise it is given kBlendSteps or 4 levels.
inline constexpr int kBlendSteps = 16;
inline constexpr int kPaletteColors = 256;

struct BlendPair {
  uint64_t pixels = 0;     // pixels of the image that blend the pair
  uint64_t stepsUsed = 0;  // bit s: some pixel blends it at step s (1 ... kBlendSteps)
  int levels = kBlendSteps;
};

// Step s of kBlendSteps on a grid of `levels` levels, ties to the even level,
// so that a run of ties inks as much as it should.
int stepOnGrid(int step, int levels);
// The colours a pair uses on a grid of `levels` levels: its steps once
// rounded, the whole colour included, the bare under colour not.
int blendPairColors(uint64_t stepsUsed, int levels);
// Gives each pair as many levels as fit fixedColors plus the pairs' colours
// into budget: first every pair keeps kBlendSteps; then the rarest pairs
// (fewest pixels) drop to quarters one by one until the colours fit, so that
// the commonest edges keep every step longest. When even quarters do not
// fit, the commonest pairs keep every step while they fit and the others
// quarters, and false is returned: the caller maps the colours left over.
bool fitBlendPairs(std::vector<BlendPair> &pairs, int fixedColors, int budget);

}  // namespace quorvane::imageio
