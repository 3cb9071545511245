// Reduction to the 6x6x6 colour cube (index 36r + 6g + b, level v -> (v + 25)
// / 51), plain, with the 4x4 ordered matrix, or with Floyd-Steinberg error
// diffusion in integers (shares (e * w + 8) >> 4 for w = 7, 3, 5, 1 of 16).
// Pixels of the transparent colour are never dithered: they take the
// transparent index and neither consume nor spread error.
#include <algorithm>
#include <array>
#include <vector>

#include "imageio/palette.h"

namespace quorvane::imageio {

namespace {

constexpr std::array<uint8_t, 256> makeLevels() {
  std::array<uint8_t, 256> levels{};
  for (int v = 0; v < 256; ++v) levels[static_cast<size_t>(v)] = static_cast<uint8_t>((v + 25) / kCubeStep);
  return levels;
}
constexpr std::array<uint8_t, 256> kLevel = makeLevels();

// The base matrix 15 -1 11 -5 / -8 7 -13 3 / 9 -7 13 -3 / -15 1 -11 5 scaled
// to the cube's step: v * 51 / 32, truncated towards zero.
constexpr int kOrdered[4][4] = {
    {23, -1, 17, -7}, {-12, 11, -20, 4}, {14, -11, 20, -4}, {-23, 1, -17, 7}};

inline int clamp255(int v) { return std::clamp(v, 0, 255); }

inline uint8_t cubeIndex(int r, int g, int b) {
  return static_cast<uint8_t>(36 * kLevel[static_cast<size_t>(r)] + 6 * kLevel[static_cast<size_t>(g)] +
                              kLevel[static_cast<size_t>(b)]);
}

inline int share(int e, int w) { return (e * w + 8) >> 4; }

void quantize(const ImageView &v, uint8_t *indices, bool hasT, uint32_t tRgb, uint8_t tIndex) {
  const size_t total = static_cast<size_t>(v.width) * static_cast<size_t>(v.height);
  for (size_t i = 0; i < total; ++i) {
    const uint32_t rgb = v.pixels[i] & 0xFFFFFFu;
    indices[i] = hasT && rgb == tRgb
                     ? tIndex
                     : cubeIndex(static_cast<int>(rgb >> 16), static_cast<int>((rgb >> 8) & 0xFF),
                                 static_cast<int>(rgb & 0xFF));
  }
}

void orderedDither(const ImageView &v, uint8_t *indices, bool hasT, uint32_t tRgb,
                   uint8_t tIndex) {
  for (int y = 0; y < v.height; ++y) {
    const uint32_t *row = v.pixels + static_cast<size_t>(y) * static_cast<size_t>(v.width);
    uint8_t *out = indices + static_cast<size_t>(y) * static_cast<size_t>(v.width);
    const int *d = kOrdered[y & 3];
    for (int x = 0; x < v.width; ++x) {
      const uint32_t rgb = row[x] & 0xFFFFFFu;
      if (hasT && rgb == tRgb) {
        out[x] = tIndex;
        continue;
      }
      const int add = d[x & 3];
      out[x] = cubeIndex(clamp255(static_cast<int>(rgb >> 16) + add),
                         clamp255(static_cast<int>((rgb >> 8) & 0xFF) + add),
                         clamp255(static_cast<int>(rgb & 0xFF) + add));
    }
  }
}

void errorDiffusion(const ImageView &v, uint8_t *indices, bool hasT, uint32_t tRgb,
                    uint8_t tIndex) {
  const size_t w = static_cast<size_t>(v.width);
  // Two rows of three error terms a pixel; they swap roles every row.
  std::vector<int> rowA(w * 3, 0), rowB(w * 3, 0);
  int *current = rowA.data();
  int *next = rowB.data();
  for (int y = 0; y < v.height; ++y) {
    std::fill(next, next + w * 3, 0);
    const uint32_t *row = v.pixels + static_cast<size_t>(y) * w;
    uint8_t *out = indices + static_cast<size_t>(y) * w;
    for (size_t x = 0; x < w; ++x) {
      const uint32_t rgb = row[x] & 0xFFFFFFu;
      if (hasT && rgb == tRgb) {
        out[x] = tIndex;
        continue;
      }
      int level[3];
      for (int c = 0; c < 3; ++c) {
        const int channel = static_cast<int>((rgb >> (16 - 8 * c)) & 0xFF);
        const int value = clamp255(channel + current[x * 3 + static_cast<size_t>(c)]);
        level[c] = kLevel[static_cast<size_t>(value)];
        const int e = value - level[c] * kCubeStep;
        next[x * 3 + static_cast<size_t>(c)] += share(e, 5);
        if (x >= 1) next[(x - 1) * 3 + static_cast<size_t>(c)] += share(e, 3);
        if (x + 1 < w) {
          current[(x + 1) * 3 + static_cast<size_t>(c)] += share(e, 7);
          next[(x + 1) * 3 + static_cast<size_t>(c)] += share(e, 1);
        }
      }
      out[x] = static_cast<uint8_t>(36 * level[0] + 6 * level[1] + level[2]);
    }
    std::swap(current, next);
  }
}

}  // namespace

int reduceToCube(const ImageView &view, uint32_t *palette, uint8_t *indices,
                 int &transparentIndex) {
  for (int k = 0; k < kCubeColors; ++k) {
    const uint32_t r = static_cast<uint32_t>(k / 36), g = static_cast<uint32_t>(k / 6 % 6),
                   b = static_cast<uint32_t>(k % 6);
    palette[k] = (r * kCubeStep) << 16 | (g * kCubeStep) << 8 | (b * kCubeStep);
  }
  int count = kCubeColors;
  transparentIndex = -1;
  const bool hasT = view.hasTransparentColor();
  const uint32_t tRgb = view.transparentColor & 0xFFFFFFu;
  if (hasT) {
    const uint32_t r = tRgb >> 16, g = (tRgb >> 8) & 0xFF, b = tRgb & 0xFF;
    if (r % kCubeStep == 0 && g % kCubeStep == 0 && b % kCubeStep == 0) {
      transparentIndex = static_cast<int>(36 * (r / kCubeStep) + 6 * (g / kCubeStep) + b / kCubeStep);
    } else {
      palette[kCubeColors] = tRgb;
      transparentIndex = kCubeColors;
      count = kCubeColors + 1;
    }
  }
  const uint8_t tIndex = static_cast<uint8_t>(transparentIndex < 0 ? 0 : transparentIndex);
  switch (view.ditherMethod) {
    case 1:
      orderedDither(view, indices, hasT, tRgb, tIndex);
      break;
    case 2:
      errorDiffusion(view, indices, hasT, tRgb, tIndex);
      break;
    default:
      quantize(view, indices, hasT, tRgb, tIndex);
      break;
  }
  return count;
}

}  // namespace quorvane::imageio
