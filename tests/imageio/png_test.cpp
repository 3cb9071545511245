// The PNG writer and reader, checked by libpng's simplified reading API and
// by the chunks in the file: colour type and bit depth by colour count, the
// palette modes, tRNS, alpha as 255 - transparency, Adam7.
#include <gtest/gtest.h>

#include "imageio/codec_test_util.h"

using namespace iotest;

namespace {

// An area of 7 x 5 with n distinct opaque colours in a red-on-blue pattern.
Area areaWithColours(int n) {
  Area a = makeArea(7, 5, 0x0000FF);
  for (int i = 1; i < n; ++i) a->pixel(i % 7, i / 7 % 5, static_cast<int>(0xFF0000 - i * 0x000301));
  if (n > 35) {
    a->setSize(n, 1, 0);
    for (int i = 0; i < n; ++i) a->pixel(i, 0, static_cast<int>(0x010203u * static_cast<unsigned>(i)));
  }
  return a;
}

void expectPixelsEqual(DrawArea *a, const PngImage &png) {
  ASSERT_TRUE(png.ok);
  ASSERT_EQ(png.width, a->getWidth());
  ASSERT_EQ(png.height, a->getHeight());
  for (int y = 0; y < png.height; ++y)
    for (int x = 0; x < png.width; ++x)
      ASSERT_EQ(pngPixel(png, x, y), static_cast<uint32_t>(a->getPixel(x, y))) << x << "," << y;
}

}  // namespace

TEST(Png, BitDepthAndColourTypeFollowTheColourCount) {
  struct Case {
    int colours, depth, type;
  };
  for (Case c : {Case{1, 1, 3}, Case{2, 1, 3}, Case{3, 2, 3}, Case{4, 2, 3}, Case{5, 4, 3},
                 Case{16, 4, 3}, Case{17, 8, 3}, Case{256, 8, 3}, Case{300, 8, 6}}) {
    Area a = areaWithColours(c.colours);
    const PngImage png = decodePng(bytesOf(a->outPNG2()));
    EXPECT_EQ(png.bitDepth, c.depth) << c.colours;
    EXPECT_EQ(png.colorType, c.type) << c.colours;
    if (c.type == 3) {
      EXPECT_EQ(png.plte.size(), static_cast<size_t>(c.colours) * 3) << c.colours;
      EXPECT_TRUE(png.trns.empty());
    }
    EXPECT_EQ(png.interlace, 0);
    expectPixelsEqual(a.get(), png);
  }
  // Only the chunks the writer is meant to write.
  Area one = areaWithColours(1);
  EXPECT_EQ(decodePng(bytesOf(one->outPNG2())).chunks,
            (std::vector<std::string>{"IHDR", "PLTE", "IDAT", "IEND"}));
}

TEST(Png, PaletteModesForceOrRefuseThePalette) {
  Area few = areaWithColours(3);
  few->setPaletteMode(DrawArea::NoPalette);
  PngImage png = decodePng(bytesOf(few->outPNG2()));
  EXPECT_EQ(png.colorType, 6);
  EXPECT_EQ(png.bitDepth, 8);
  expectPixelsEqual(few.get(), png);

  Area many = areaWithColours(300);
  many->setPaletteMode(DrawArea::ForcePalette);
  many->setDitherMethod(DrawArea::Quantize);
  png = decodePng(bytesOf(many->outPNG2()));
  EXPECT_EQ(png.colorType, 3);
  EXPECT_EQ(png.plte.size(), 216u * 3);
  ASSERT_TRUE(png.ok);
  // Pixel 100 is 100 x 0x010203 = 0x64C92C: levels (v + 25) / 51 = 2, 4, 1.
  EXPECT_EQ(pngPixel(png, 100, 0), 0x0066CC33u);

  // Any other mode behaves as TryPalette.
  few->setPaletteMode(9);
  EXPECT_EQ(decodePng(bytesOf(few->outPNG2())).colorType, 3);
}

TEST(Png, TransparencyTravelsAsTrnsOrAlpha) {
  // Palette: the transparent colour is entry 0, alpha 0; the rest opaque.
  Area a = areaWithColours(4);
  a->setTransparentColor(0x0000FF);
  PngImage png = decodePng(bytesOf(a->outPNG2()));
  EXPECT_EQ(png.trns, Bytes{0});
  ASSERT_TRUE(png.ok);
  EXPECT_EQ(pngPixel(png, 6, 4), 0xFF0000FFu);  // blue background, alpha 0
  EXPECT_EQ(pngPixel(png, 1, 0), static_cast<uint32_t>(a->getPixel(1, 0)));

  // Cube with a transparent colour off the cube: entry 216, tRNS of 217.
  Area many = areaWithColours(300);
  many->setPaletteMode(DrawArea::ForcePalette);
  many->setTransparentColor(0x010203);
  png = decodePng(bytesOf(many->outPNG2()));
  ASSERT_EQ(png.trns.size(), 217u);
  EXPECT_EQ(png.trns[216], 0);
  EXPECT_EQ(png.trns[0], 255);
  EXPECT_EQ(pngPixel(png, 1, 0) >> 24, 255u);

  // RGBA: no tRNS chunk; alpha is 255 - transparency, and 0x80FF0000 comes
  // back through our reader unchanged.
  Area rgba = makeArea(3, 2, 0x00FFFFFF);
  rgba->setSize(3, 2, 0);
  rgba->setBgColor(col(0x80FF0000));
  rgba->setPaletteMode(DrawArea::NoPalette);
  rgba->setTransparentColor(0x00FF0000);
  const Bytes bytes = bytesOf(rgba->outPNG2());
  png = decodePng(bytes);
  EXPECT_TRUE(png.trns.empty());
  ASSERT_TRUE(png.ok);
  EXPECT_EQ(Bytes(png.rgba.begin(), png.rgba.begin() + 4), (Bytes{255, 0, 0, 127}));
  const std::string path = scratchPath("alpha.png");
  writeFile(path, bytes);
  Area back = makeArea(1, 1, 0);
  ASSERT_TRUE(back->loadPNG(path.c_str()));
  EXPECT_EQ(back->getWidth(), 3);
  EXPECT_EQ(static_cast<uint32_t>(back->getPixel(2, 1)), 0x80FF0000u);
  std::remove(path.c_str());
}

TEST(Png, InterlacedOutputIsAdam7WithTheSamePixels) {
  for (int colours : {5, 300}) {
    Area a = areaWithColours(colours);
    a->setInterlace(1);
    const Bytes first = bytesOf(a->outPNG2());
    const PngImage png = decodePng(first);
    EXPECT_EQ(png.interlace, 1);
    expectPixelsEqual(a.get(), png);
    EXPECT_EQ(bytesOf(a->outPNG2()), first);  // encoding twice gives the same bytes
  }
}
