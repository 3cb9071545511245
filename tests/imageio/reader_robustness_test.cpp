// Readers against damaged and hostile input: every prefix of a valid file and
// every byte of it altered must end in a clean result (sanitizers watch the
// reads), size limits hold before anything is allocated, and GIF details the
// corpus does not isolate (transparent index, interlace, LZW stream ends).
#include <gtest/gtest.h>

#include <zlib.h>

#include <chrono>
#include <functional>

#include "imageio/codec_test_util.h"
#include "imageio/codecs.h"

using namespace iotest;
namespace io = quorvane::imageio;

namespace {

bool readWith(io::ImageReader reader, const Bytes &bytes, io::DecodedImage &out) {
  io::ByteSource source(bytes.data(), bytes.size());
  return reader(source, out, io::DecodeLimits{});
}

// Every prefix and every byte replaced by its complement: a read either
// fails or gives an image of a size inside the limits with all its pixels.
void sweep(io::ImageReader reader, const Bytes &valid) {
  io::DecodedImage image;
  ASSERT_TRUE(readWith(reader, valid, image));
  auto check = [&](const Bytes &bytes) {
    io::DecodedImage out;
    if (readWith(reader, bytes, out)) {
      ASSERT_GE(out.width, 1);
      ASSERT_GE(out.height, 1);
      ASSERT_EQ(out.pixels.size(), static_cast<size_t>(out.width) * out.height);
    }
  };
  for (size_t n = 0; n < valid.size(); ++n) check(Bytes(valid.begin(), valid.begin() + static_cast<ptrdiff_t>(n)));
  for (size_t i = 0; i < valid.size(); ++i) {
    Bytes altered = valid;
    altered[i] = static_cast<uint8_t>(~altered[i]);
    check(altered);
  }
}

Area scene() {
  Area a = makeArea(13, 11, 0x0000FF);
  a->rect(2, 1, 9, 8, 0xFF0000, 0x00FF00, 0);
  a->line(0, 10, 12, 0, 0xFFFF00, 1);
  return a;
}

double secondsFor(const std::function<void()> &f) {
  const auto start = std::chrono::steady_clock::now();
  f();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

TEST(ReaderRobustness, EveryPrefixAndEveryAlteredByteEndsCleanly) {
  Area a = scene();
  sweep(io::readGif, bytesOf(a->outGIF2()));
  sweep(io::readPng, bytesOf(a->outPNG2()));
  sweep(io::readJpeg, bytesOf(a->outJPG2(75)));
  sweep(io::readWbmp, bytesOf(a->outWMP2()));
  a->setInterlace(1);
  a->setTransparentColor(0xFF0000);
  sweep(io::readGif, bytesOf(a->outGIF2()));
  sweep(io::readPng, bytesOf(a->outPNG2()));
  sweep(io::readJpeg, bytesOf(a->outJPG2(75)));
}

TEST(ReaderRobustness, SizesOutsideTheLimitsAreRefusedBeforeAllocating) {
  // GIF: a descriptor of 8193 x 8193 (above 2^26 pixels) in a tiny file.
  Bytes gif = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0,
               0x2C, 0, 0, 0, 0, 0x01, 0x20, 0x01, 0x20, 0, 2, 2, 0x44, 0x01, 0, 0x3B};
  io::DecodedImage out;
  EXPECT_FALSE(readWith(io::readGif, gif, out));
  gif[18] = 0x00;  // 8192 x 8193 is still too many pixels ...
  EXPECT_FALSE(readWith(io::readGif, gif, out));
  gif[18] = 0x00, gif[19] = 0x00, gif[20] = 0x00, gif[21] = 0x00;  // ... and 0 x 0 too few
  EXPECT_FALSE(readWith(io::readGif, gif, out));

  // WBMP: 65536 wide, and a width whose continuation bytes never end.
  EXPECT_FALSE(readWith(io::readWbmp, {0, 0, 0x84, 0x80, 0x00, 0x01}, out));
  EXPECT_FALSE(readWith(io::readWbmp, Bytes(100000, 0x81), out));
  EXPECT_FALSE(readWith(io::readWbmp, {0, 0, 0x81, 0x80, 0x81, 0x80, 0x01}, out));  // 16384 x 16384

  // PNG: an IHDR of 65536 x 1 with a correct CRC.
  Area a = scene();
  Bytes png = bytesOf(a->outPNG2());
  png[16] = 0, png[17] = 1, png[18] = 0, png[19] = 0;  // width 65536
  png[20] = 0, png[21] = 0, png[22] = 0, png[23] = 1;
  const uLong crc = crc32(0, &png[12], 17);
  png[29] = static_cast<uint8_t>(crc >> 24), png[30] = static_cast<uint8_t>(crc >> 16);
  png[31] = static_cast<uint8_t>(crc >> 8), png[32] = static_cast<uint8_t>(crc);
  EXPECT_FALSE(readWith(io::readPng, png, out));

  // JPEG: a frame header claiming 65500 x 65500, refused at once.
  Bytes jpeg = bytesOf(a->outJPG2(75));
  for (size_t i = 0; i + 8 < jpeg.size(); ++i)
    if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
      jpeg[i + 5] = 0xFF, jpeg[i + 6] = 0xDC, jpeg[i + 7] = 0xFF, jpeg[i + 8] = 0xDC;
      break;
    }
  EXPECT_LT(secondsFor([&] { EXPECT_FALSE(readWith(io::readJpeg, jpeg, out)); }), 1.0);
}

TEST(GifReader, TransparentIndexAndInterlaceFromGiflibFiles) {
  // A 7 x 11 image written by giflib, interlaced, transparent index 3.
  Bytes indices;
  for (int i = 0; i < 77; ++i) indices.push_back(static_cast<uint8_t>((i * 5 + i / 7) % 6));
  const std::vector<uint32_t> colors = {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFFFFFF, 0x000000};
  for (bool interlaced : {false, true}) {
    const Bytes gif = encodeGifWithGiflib(7, 11, indices, colors, 3, interlaced);
    io::DecodedImage out;
    ASSERT_TRUE(readWith(io::readGif, gif, out));
    ASSERT_EQ(out.width, 7);
    ASSERT_EQ(out.height, 11);
    for (size_t i = 0; i < 77; ++i)
      ASSERT_EQ(out.pixels[i], indices[i] == 3 ? 0xFF000000u : colors[indices[i]]) << i << " " << interlaced;
  }
}

TEST(GifReader, DataEndingEarlyStillLoadsWhatItHas) {
  // Our own 600 x 400 two-colour file with its image data cut in half: the
  // load succeeds, decoded pixels are right and the rest are Transparent.
  Area a = makeArea(600, 400, 0xFFFFFF);
  a->rect(0, 200, 599, 399, 0x000000, 0x000000, 0);
  Bytes gif = bytesOf(a->outGIF2());
  gif.resize(gif.size() / 2);
  io::DecodedImage out;
  ASSERT_TRUE(readWith(io::readGif, gif, out));
  EXPECT_EQ(out.pixels[0], 0x00FFFFFFu);
  EXPECT_EQ(out.pixels.back(), 0xFF000000u);
  size_t decoded = 0;
  while (decoded < out.pixels.size() && out.pixels[decoded] != 0xFF000000u) ++decoded;
  for (size_t i = 0; i < decoded; ++i)
    ASSERT_EQ(out.pixels[i], i < 600 * 200 ? 0x00FFFFFFu : 0u) << i;
  EXPECT_GT(decoded, 600u * 100);
}
