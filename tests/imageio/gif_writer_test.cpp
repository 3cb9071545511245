// The GIF writer, checked by giflib: every index and palette colour comes
// back, whatever the runs, sizes, code sizes and clears; plus the exact bytes
// of the smallest files, worked out by hand from the coder's rules.
#include <gtest/gtest.h>

#include "imageio/codecs.h"
#include "imageio/codec_test_util.h"

using namespace iotest;
using quorvane::imageio::MemorySink;
using quorvane::imageio::writeGifIndices;

namespace {

Bytes encodeIndices(const Bytes &indices, int width, int height, int count, bool interlace = false,
                    int transparentIndex = -1) {
  std::vector<uint32_t> palette(256);
  for (int i = 0; i < 256; ++i) palette[static_cast<size_t>(i)] = static_cast<uint32_t>(i) * 0x010307u;
  MemorySink sink;
  EXPECT_TRUE(writeGifIndices(sink, indices.data(), width, height, palette.data(), count, interlace, 0,
                              transparentIndex));
  const auto &b = sink.bytes();
  return Bytes(b.begin(), b.end());
}

void expectRoundTrip(const Bytes &indices, int width, int height, int count, bool interlace = false) {
  const Bytes gif = encodeIndices(indices, width, height, count, interlace);
  const GifImage decoded = decodeGif(gif);
  ASSERT_TRUE(decoded.ok) << width << "x" << height << " colours " << count;
  ASSERT_EQ(decoded.width, width);
  ASSERT_EQ(decoded.height, height);
  EXPECT_EQ(decoded.interlaced, interlace && height > 8);
  // Find the first differing index so a failure says where the stream broke.
  size_t diff = 0;
  while (diff < indices.size() && decoded.indices[diff] == indices[diff]) ++diff;
  EXPECT_EQ(diff, indices.size()) << width << "x" << height << " colours " << count;
  int bits = 1;
  while ((1 << bits) < count) ++bits;
  EXPECT_EQ(decoded.colorCount, 1 << bits);
}

}  // namespace

TEST(GifWriter, SmallestFilesHaveTheBytesOfTheRules) {
  // 1 x 1 white, no transparent colour: GIF87a, 1 bit, 2-entry table, minimum
  // code size 2, codes clear (4), pixel 0, end (5) at 3 bits each.
  Area a = makeArea(1, 1, 0xFFFFFF);
  const Bytes one = bytesOf(a->outGIF2());
  ASSERT_EQ(one.size(), 35u);
  const Bytes head = {'G', 'I', 'F', '8', '7', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0xFF, 0xFF, 0xFF};
  EXPECT_EQ(Bytes(one.begin(), one.begin() + 16), head);
  const Bytes tail = {0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0x00, 2, 2, 0x44, 0x01, 0, 0x3B};
  EXPECT_EQ(Bytes(one.begin() + 19, one.end()), tail);

  // Ten pixels of one index: clear, 0, then the run codes F = 6, 7, 8 for 2,
  // 3 and 4 pixels; the width grows from 3 to 4 bits after the third code.
  const Bytes ten = encodeIndices(Bytes(10, 0), 10, 1, 2);
  const Bytes data = {2, 3, 0x84, 0x8F, 0x05, 0, 0x3B};
  EXPECT_EQ(Bytes(ten.end() - 7, ten.end()), data);
}

TEST(GifWriter, TransparentColourWritesGif89aAndItsControlBlock) {
  Area a = makeArea(7, 5, 0xFFFFFF);
  a->rect(1, 1, 4, 3, 0xFF0000, 0x0000FF, 0);
  a->setTransparentColor(0x0000FF);
  const Bytes gif = bytesOf(a->outGIF2());
  ASSERT_GE(gif.size(), 6u);
  EXPECT_EQ(std::string(gif.begin(), gif.begin() + 6), "GIF89a");
  const Bytes control = {0x21, 0xF9, 0x04, 0x01, 0x00, 0x00, 0x00, 0x00};  // index 0
  EXPECT_NE(std::search(gif.begin(), gif.end(), control.begin(), control.end()), gif.end());
  const GifImage decoded = decodeGif(gif);
  ASSERT_TRUE(decoded.ok);
  EXPECT_EQ(decoded.transparentIndex, 0);
  EXPECT_EQ(decoded.colors[0], 0x0000FFu);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x)
      EXPECT_EQ(decoded.colors[decoded.indices[static_cast<size_t>(y * 7 + x)]],
                static_cast<uint32_t>(a->getPixel(x, y)) & 0xFFFFFF);

  // The same picture without a transparent colour is GIF87a, without the block.
  a->setTransparentColor(Transparent);
  const GifImage plain = decodeGif(bytesOf(a->outGIF2()));
  ASSERT_TRUE(plain.ok);
  EXPECT_EQ(plain.signature, "GIF87a");
  EXPECT_EQ(plain.transparentIndex, -1);
  EXPECT_EQ(plain.colors[plain.indices[0]], 0xFFFFFFu);
}

TEST(GifWriter, InterlaceOnlyAboveEightRows) {
  for (int height : {8, 9, 100}) {
    Area a = makeArea(11, height, 0xFFFFFF);
    for (int y = 0; y < height; ++y) a->hline(0, y % 11, y, static_cast<int>(0x100000u * (y % 7)));
    a->setInterlace(1);
    const Bytes gif = bytesOf(a->outGIF2());
    const GifImage decoded = decodeGif(gif);
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.interlaced, height > 8) << height;
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < 11; ++x)
        ASSERT_EQ(decoded.colors[decoded.indices[static_cast<size_t>(y * 11 + x)]],
                  static_cast<uint32_t>(a->getPixel(x, y)) & 0xFFFFFF)
            << "height " << height << " at " << x << "," << y;
  }
}

TEST(GifWriter, GiflibDecodesEveryRunShapeExactly) {
  // Flat images, runs longer than 4096 and 100,000 pixels (several forced
  // clears inside one run), 1 x 1, odd widths, every code size.
  expectRoundTrip(Bytes(1, 0), 1, 1, 1);
  expectRoundTrip(Bytes(600 * 400, 1), 600, 400, 2);
  expectRoundTrip(Bytes(100000, 3), 400, 250, 5);
  for (int count : {2, 3, 5, 9, 17, 33, 65, 129, 256}) {
    Bytes runs;
    for (int i = 0; i < 3; ++i) {
      runs.insert(runs.end(), 4097 + static_cast<size_t>(i), static_cast<uint8_t>(i % count));
      runs.insert(runs.end(), 100000, static_cast<uint8_t>((i + 1) % count));
    }
    runs.resize(runs.size() / 1000 * 1000);
    expectRoundTrip(runs, 1000, static_cast<int>(runs.size() / 1000), count);
    expectRoundTrip(Bytes(runs.begin(), runs.begin() + 311 * 331), 311, 331, count, true);
  }
}

TEST(GifWriter, GiflibDecodesSeededRandomScenes) {
  // Mixtures of isolated pixels and runs of random lengths, repeated runs of
  // one index (the coder reuses its longest run code), odd sizes, interlace.
  std::mt19937 rng(7);
  for (int round = 0; round < 60; ++round) {
    const int count = 1 + static_cast<int>(rng() % 256);
    const int width = 1 + static_cast<int>(rng() % 301);
    const int height = 1 + static_cast<int>(rng() % 97);
    const int maxRun = 1 << (rng() % 14);
    const size_t total = static_cast<size_t>(width) * height;
    Bytes indices;
    while (indices.size() < total) {
      const int pick = static_cast<int>(rng() % 4);
      const uint8_t p = static_cast<uint8_t>(pick == 0 ? 0 : rng() % static_cast<unsigned>(count));
      const size_t run = 1 + rng() % static_cast<unsigned>(maxRun);
      indices.insert(indices.end(), std::min(run, total - indices.size()), p);
    }
    expectRoundTrip(indices, width, height, count, round % 3 == 0);
  }
}

TEST(GifWriter, ManyColoursGoToTheCubeAndDecodeToIt) {
  // 300-colour noise: reduced to the 216-colour cube (Quantize), 8 bits.
  Area a = makeArea(31, 17, 0);
  std::mt19937 rng(3);
  for (int y = 0; y < 17; ++y)
    for (int x = 0; x < 31; ++x) a->pixel(x, y, static_cast<int>(rng() & 0xFFFFFF));
  a->setDitherMethod(DrawArea::Quantize);
  const GifImage decoded = decodeGif(bytesOf(a->outGIF2()));
  ASSERT_TRUE(decoded.ok);
  EXPECT_EQ(decoded.colorCount, 256);
  auto level = [](uint32_t v) { return (v + 25) / 51 * 51; };
  for (int y = 0; y < 17; ++y)
    for (int x = 0; x < 31; ++x) {
      const uint32_t p = static_cast<uint32_t>(a->getPixel(x, y));
      const uint32_t cube = level(p >> 16 & 255) << 16 | level(p >> 8 & 255) << 8 | level(p & 255);
      ASSERT_EQ(decoded.colors[decoded.indices[static_cast<size_t>(y * 31 + x)]], cube);
    }
}

TEST(GifWriter, TwoColourAreaIsAboutAThousandBytesAndSizesBeyondTheFormatFail) {
  // One run of 120,000 pixels costs about 490 codes (1 + 2 + ... + 490),
  // with forced clears every 4089 codes; two such runs stay near 1 KB.
  Area a = makeArea(600, 400, 0xFFFFFF);
  a->rect(0, 200, 599, 399, 0x000000, 0x000000, 0);
  const Bytes gif = bytesOf(a->outGIF2());
  EXPECT_LT(gif.size(), 1100u);
  const GifImage decoded = decodeGif(gif);
  ASSERT_TRUE(decoded.ok);
  EXPECT_EQ(decoded.colors[decoded.indices[0]], 0xFFFFFFu);
  EXPECT_EQ(decoded.colors[decoded.indices[300 * 600 + 300]], 0u);

  // GIF sizes are 16 bits: a wider image is refused, not written wrongly. No
  // DrawArea is that wide (65535 is its limit), so the writer is given a view.
  const std::vector<uint32_t> row(65536, 0x00FFFFFFu);
  quorvane::imageio::ImageView wide;
  wide.pixels = row.data();
  wide.width = 65536;
  wide.height = 1;
  MemorySink sink;
  EXPECT_FALSE(quorvane::imageio::writeGif(sink, wide));
}
