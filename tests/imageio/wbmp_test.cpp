// WBMP: exact bytes of the writer (header integers, rows most significant bit
// first, zero padding), the 382 threshold and both dithers worked out by
// hand, and the reader's checks.
#include <gtest/gtest.h>

#include "imageio/codec_test_util.h"

using namespace iotest;

TEST(Wbmp, TenByTwoHasTheBytesOfTheFormat) {
  // Row 0: white at x = 0, 2, 9; row 1: white at x = 8 only.
  Area a = makeArea(10, 2, 0x000000);
  for (int x : {0, 2, 9}) a->pixel(x, 0, 0xFFFFFF);
  a->pixel(8, 1, 0xFFFFFF);
  const Bytes want = {0x00, 0x00, 0x0A, 0x02, 0xA0, 0x40, 0x00, 0x80};
  EXPECT_EQ(bytesOf(a->outWMP2()), want);
  // The ten-line reader agrees.
  const WbmpImage back = decodeWbmp(want);
  ASSERT_TRUE(back.ok);
  EXPECT_EQ(back.bits[9], 1);
  EXPECT_EQ(back.bits[10 + 8], 1);

  // Sizes of 128 and more take two bytes: 200 is 0x81 0x48.
  Area wide = makeArea(200, 1, 0xFFFFFF);
  const Bytes header = bytesOf(wide->outWMP2());
  EXPECT_EQ(Bytes(header.begin(), header.begin() + 5), (Bytes{0x00, 0x00, 0x81, 0x48, 0x01}));
  EXPECT_EQ(header.size(), 5u + 25u);
}

TEST(Wbmp, OneBitDecisionsFollowTheirRules) {
  // Quantize: R + G + B = 382 is black, 383 white.
  Area a = makeArea(2, 1, 0);
  a->setDitherMethod(DrawArea::Quantize);
  a->pixel(0, 0, 0x7F7F80);
  a->pixel(1, 0, 0x7F8080);
  EXPECT_EQ(bytesOf(a->outWMP2()).back(), 0x40);

  // Ordered: a uniform sum of 382 is white exactly where the table is above
  // 0: rows 1010 / 0101 / 1010 / 0101.
  Area grey = makeArea(4, 4, 0x7F7F80);
  grey->setDitherMethod(DrawArea::OrderedDither);
  const Bytes ordered = bytesOf(grey->outWMP2());
  EXPECT_EQ(Bytes(ordered.end() - 4, ordered.end()), (Bytes{0xA0, 0x50, 0xA0, 0x50}));

  // Floyd-Steinberg on sums of 300: x0 black (e = 300, right gets
  // (2100 + 8) >> 4 = 131); x1 431 white (e = -334, right gets -146);
  // x2 154 black.
  Area fs = makeArea(3, 1, 0x646464);
  fs->setDitherMethod(DrawArea::ErrorDiffusion);
  EXPECT_EQ(bytesOf(fs->outWMP2()).back(), 0x40);
  // Unknown methods act as Quantize: all black.
  fs->setDitherMethod(5);
  EXPECT_EQ(bytesOf(fs->outWMP2()).back(), 0x00);
}

TEST(Wbmp, ReaderChecksTypeAndHeaderAndFillsMissingRowsWhite) {
  const std::string path = scratchPath("reader.wbmp");
  Area a = makeArea(3, 2, 0x123456);
  auto load = [&](const Bytes &bytes) {
    writeFile(path, bytes);
    return a->loadWMP(path.c_str());
  };
  EXPECT_FALSE(load({0x01, 0x00, 0x02, 0x02, 0xFF, 0xFF}));  // type 1
  EXPECT_FALSE(load({0x00, 0x80}));                          // header cut
  EXPECT_FALSE(load({0x00, 0x00, 0x82}));                    // width cut
  EXPECT_FALSE(load({0x00, 0x00, 0x00, 0x02}));              // width 0
  EXPECT_FALSE(load({0x00, 0x00, 0x84, 0x80, 0x00, 0x01}));  // width 65536
  EXPECT_EQ(a->getWidth(), 3);
  EXPECT_EQ(a->getPixel(2, 1), 0x123456);

  // A fixed header of continuation bytes is skipped; row 1 is missing.
  ASSERT_TRUE(load({0x00, 0x80, 0x81, 0x00, 0x0A, 0x02, 0x40, 0x00}));
  EXPECT_EQ(a->getWidth(), 10);
  EXPECT_EQ(a->getHeight(), 2);
  EXPECT_EQ(a->getPixel(1, 0), 0xFFFFFF);
  EXPECT_EQ(a->getPixel(0, 0), 0x000000);
  EXPECT_EQ(a->getPixel(9, 0), 0x000000);
  EXPECT_EQ(a->getPixel(4, 1), 0xFFFFFF);
  std::remove(path.c_str());
}
