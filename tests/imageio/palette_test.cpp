// Palette reduction: the exact palette (first-appearance order, transparent
// colour first), the refusal or cube beyond 256 colours, and the three cube
// mappings with values worked out by hand from their rules.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "imageio/palette.h"

using quorvane::imageio::ImageView;
using quorvane::imageio::reducePalette;

namespace {

struct Reduced {
  int count = 0;
  int transparentIndex = -2;
  std::vector<uint32_t> palette;
  std::vector<uint8_t> indices;
};

Reduced reduce(const std::vector<uint32_t> &pixels, int width, bool force,
               uint32_t transparent = 0xFF000000u, int dither = 0) {
  ImageView v;
  v.pixels = pixels.data();
  v.width = width;
  v.height = static_cast<int>(pixels.size()) / width;
  v.transparentColor = transparent;
  v.ditherMethod = dither;
  Reduced r;
  r.palette.assign(256, 0xDEADBEEF);
  r.indices.assign(pixels.size(), 0xEE);
  r.count = reducePalette(v, r.palette.data(), r.indices.data(), r.transparentIndex, force);
  return r;
}

std::vector<uint32_t> distinctColours(int n, uint32_t start = 0x000100) {
  std::vector<uint32_t> out;
  for (int i = 0; i < n; ++i) out.push_back(start + static_cast<uint32_t>(i) * 0x010101u);
  return out;
}

}  // namespace

TEST(Palette, ExactPaletteEdgeCases) {
  // White with transparent white: one entry, transparent at 0.
  Reduced r = reduce(std::vector<uint32_t>(35, 0x00FFFFFF), 7, false, 0x00FFFFFF);
  EXPECT_EQ(r.count, 1);
  EXPECT_EQ(r.palette[0], 0xFFFFFFu);
  EXPECT_EQ(r.transparentIndex, 0);

  // A transparent colour no pixel has still takes index 0; the pixels follow
  // in order of first appearance; the transparency byte is ignored.
  r = reduce({0x00FF0000, 0x800000FF, 0x00FF0000, 0x000000FF, 0xFF00FF00, 0x0000FF00}, 3, false,
             0x00123456);
  EXPECT_EQ(r.count, 4);
  EXPECT_EQ(r.transparentIndex, 0);
  EXPECT_EQ(std::vector<uint32_t>(r.palette.begin(), r.palette.begin() + 4),
            (std::vector<uint32_t>{0x123456, 0xFF0000, 0x0000FF, 0x00FF00}));
  EXPECT_EQ(r.indices, (std::vector<uint8_t>{1, 2, 1, 2, 3, 3}));

  // Exactly 256 colours fit; adding a transparent colour not among them
  // makes 257, which is refused unless forced.
  const std::vector<uint32_t> full = distinctColours(256);
  r = reduce(full, 16, false);
  EXPECT_EQ(r.count, 256);
  EXPECT_EQ(r.transparentIndex, -1);
  EXPECT_EQ(r.indices[255], 255);
  EXPECT_EQ(reduce(full, 16, false, 0x00FFFFFE).count, 0);
  EXPECT_EQ(reduce(full, 16, true, 0x00000000).count, 216);  // black is a cube colour
}

TEST(Palette, ManyColoursAreRefusedOrMappedToTheCube) {
  const std::vector<uint32_t> many = distinctColours(300, 0x000001);
  EXPECT_EQ(reduce(many, 30, false).count, 0);
  Reduced r = reduce(many, 30, true);
  EXPECT_EQ(r.count, 216);
  EXPECT_EQ(r.transparentIndex, -1);
  EXPECT_EQ(r.palette[0], 0x000000u);
  EXPECT_EQ(r.palette[1], 0x000033u);
  EXPECT_EQ(r.palette[43], 0x333333u);  // 36 + 6 + 1
  EXPECT_EQ(r.palette[215], 0xFFFFFFu);

  // A transparent colour off the cube becomes entry 216; pixels of it take
  // that index.
  std::vector<uint32_t> withT = many;
  withT[5] = 0x00102030;
  r = reduce(withT, 30, true, 0x00102030);
  EXPECT_EQ(r.count, 217);
  EXPECT_EQ(r.palette[216], 0x102030u);
  EXPECT_EQ(r.transparentIndex, 216);
  EXPECT_EQ(r.indices[5], 216);
  // On the cube it keeps the cube's index.
  r = reduce(withT, 30, true, 0x00336699);
  EXPECT_EQ(r.count, 216);
  EXPECT_EQ(r.transparentIndex, 36 * 1 + 6 * 2 + 3);
}

TEST(Palette, CubeMappingsFollowTheirRulesByHand) {
  std::vector<uint32_t> many = distinctColours(300, 0x000001);  // forces the cube
  // Quantize: levels (v + 25) / 51. 0x19 -> 0, 0x33 -> 1, 0x4C -> 1, 0x1A -> 1.
  many[0] = 0x0019334C;
  many[1] = 0x001A1A1A;
  Reduced r = reduce(many, 30, true, 0xFF000000u, 0);
  EXPECT_EQ(r.indices[0], 0 * 36 + 1 * 6 + 1);
  EXPECT_EQ(r.indices[1], 43);

  // Ordered: grey 26 at (0, 0) gets +23 -> 49 (level 1), at (1, 0) -1 -> 25
  // (level 0); at (1, 1) +11 -> 37 (level 1).
  std::fill(many.begin(), many.begin() + 32, 0x001A1A1Au);  // still 269 colours
  r = reduce(many, 30, true, 0xFF000000u, 1);
  EXPECT_EQ(r.indices[0], 43);
  EXPECT_EQ(r.indices[1], 0);
  EXPECT_EQ(r.indices[31], 43);

  // Floyd-Steinberg on grey 30, rows of 3 (the rest of the image noise):
  // x0: 30 -> 51, e = -21: right gets (-147 + 8) >> 4 = -9.
  // x1: 21 -> 0, e = 21: right gets (147 + 8) >> 4 = 9.   x2: 39 -> 51.
  std::vector<uint32_t> fs(3 * 100, 0x001E1E1E);
  for (int i = 3; i < 300; ++i) fs[static_cast<size_t>(i)] = static_cast<uint32_t>(i) * 0x010203u;
  r = reduce(fs, 3, true, 0xFF000000u, 2);
  EXPECT_EQ(std::vector<uint8_t>(r.indices.begin(), r.indices.begin() + 3),
            (std::vector<uint8_t>{43, 0, 43}));
  // A transparent pixel between them neither takes nor passes on error.
  fs[1] = 0x00000001;
  r = reduce(fs, 3, true, 0x00000001, 2);
  EXPECT_EQ(std::vector<uint8_t>(r.indices.begin(), r.indices.begin() + 3),
            (std::vector<uint8_t>{43, 216, 43}));
}

TEST(Palette, FastExactPassMatchesAPlainMap) {
  // The run-skipping hash pass against first-appearance order kept in a
  // std::map, on seeded images of runs and noise up to 256 colours.
  std::mt19937 rng(11);
  for (int round = 0; round < 40; ++round) {
    const int colours = 1 + static_cast<int>(rng() % 256);
    std::vector<uint32_t> pool;
    for (int i = 0; i < colours; ++i) pool.push_back(rng());
    const int width = 1 + static_cast<int>(rng() % 90);
    const int height = 1 + static_cast<int>(rng() % 60);
    std::vector<uint32_t> pixels;
    while (pixels.size() < static_cast<size_t>(width * height)) {
      const uint32_t c = pool[rng() % pool.size()] ^ (rng() & 0xFF000000u);
      pixels.insert(pixels.end(), std::min<size_t>(1 + rng() % 40, width * height - pixels.size()), c);
    }
    const bool withT = round % 2 == 0;
    const uint32_t t = withT ? pool[0] & 0x00FFFFFF : 0xFF000000u;
    std::map<uint32_t, int> seen;
    std::vector<uint32_t> order;
    if (withT) seen[t] = 0, order.push_back(t);
    std::vector<uint8_t> want;
    for (uint32_t p : pixels) {
      const uint32_t rgb = p & 0xFFFFFF;
      if (!seen.count(rgb)) seen[rgb] = static_cast<int>(order.size()), order.push_back(rgb);
      want.push_back(static_cast<uint8_t>(seen[rgb]));
    }
    const Reduced r = reduce(pixels, width, false, t);
    if (order.size() > 256) {
      EXPECT_EQ(r.count, 0);
      continue;
    }
    ASSERT_EQ(r.count, static_cast<int>(order.size()));
    EXPECT_EQ(std::vector<uint32_t>(r.palette.begin(), r.palette.begin() + r.count), order);
    EXPECT_EQ(r.indices, want);
  }
}
