// The JPEG writer and reader, checked by libjpeg: the quality shows in the
// first luminance quantiser (16 in the standard table, scaled by 5000 / q
// below 50 and 200 - 2q from 50, then (16 * scale + 50) / 100 limited to
// 1 ... 255), the interlace flag makes a progressive file, and the reader
// sets the flag from the file only when it succeeds.
#include <gtest/gtest.h>

#include "imageio/codec_test_util.h"

using namespace iotest;

namespace {

Area smoothArea() {
  Area a = makeArea(37, 23, 0);
  for (int y = 0; y < 23; ++y)
    for (int x = 0; x < 37; ++x) a->pixel(x, y, (x * 6) << 16 | (y * 10) << 8 | 0x80);
  return a;
}

}  // namespace

TEST(Jpeg, QualityAndProgressiveReachTheFile) {
  Area a = smoothArea();
  struct Case {
    int quality, quantiser;
  };
  for (Case c : {Case{-1, 8}, Case{0, 255}, Case{25, 32}, Case{50, 16}, Case{80, 6}, Case{100, 1},
                 Case{150, 1}}) {
    const JpegImage jpeg = decodeJpeg(bytesOf(a->outJPG2(c.quality)));
    ASSERT_TRUE(jpeg.ok) << c.quality;
    EXPECT_EQ(jpeg.lumaDcQuant, c.quantiser) << c.quality;
    EXPECT_FALSE(jpeg.progressive);
  }
  a->setInterlace(1);
  const JpegImage progressive = decodeJpeg(bytesOf(a->outJPG2(90)));
  ASSERT_TRUE(progressive.ok);
  EXPECT_TRUE(progressive.progressive);

  // Pixels survive within the loss of quality 100 (the transparency byte is dropped).
  a->pixel(3, 3, col(0x40000000));
  const JpegImage best = decodeJpeg(bytesOf(a->outJPG2(100)));
  ASSERT_EQ(best.width, 37);
  ASSERT_EQ(best.height, 23);
  double error = 0;
  for (int y = 0; y < 23; ++y)
    for (int x = 0; x < 37; ++x)
      for (int s = 0; s < 3; ++s)
        error += std::abs(best.rgb[static_cast<size_t>((y * 37 + x) * 3 + s)] -
                          ((a->getPixel(x, y) >> (16 - 8 * s)) & 255));
  EXPECT_LT(error / (37 * 23 * 3), 2.0);
}

TEST(Jpeg, LoadingSetsTheInterlaceFlagOnlyOnSuccess) {
  Area source = smoothArea();
  source->setInterlace(1);
  const std::string progressive = scratchPath("progressive.jpg");
  ASSERT_TRUE(source->outJPG(progressive.c_str(), 90));
  source->setInterlace(0);
  const std::string baseline = scratchPath("baseline.jpeg");
  ASSERT_TRUE(source->out(baseline.c_str()));

  Area a = makeArea(2, 2, 0xFFFFFF);
  ASSERT_TRUE(a->loadJPG(progressive.c_str()));
  EXPECT_EQ(a->getWidth(), 37);
  EXPECT_TRUE(decodeJpeg(bytesOf(a->outJPG2(80))).progressive);
  // A failed load leaves the flag (and everything else) alone.
  Bytes cut = readFile(baseline);
  cut.resize(100);
  const std::string broken = scratchPath("broken.jpg");
  writeFile(broken, cut);
  EXPECT_FALSE(a->loadJPG(broken.c_str()));
  EXPECT_TRUE(decodeJpeg(bytesOf(a->outJPG2(80))).progressive);
  ASSERT_TRUE(a->load(baseline.c_str()));
  EXPECT_FALSE(decodeJpeg(bytesOf(a->outJPG2(80))).progressive);
  for (const auto &p : {progressive, baseline, broken}) std::remove(p.c_str());
}

TEST(Jpeg, MoreThan500ScansAreRefused) {
  // A progressive file whose last scan is repeated: libjpeg only warns about
  // the repeated refinement, so the scan count alone must stop it.
  Area source = smoothArea();
  source->setInterlace(1);
  const Bytes file = bytesOf(source->outJPG2(90));
  size_t lastScan = 0;
  for (size_t i = 0; i + 1 < file.size(); ++i)
    if (file[i] == 0xFF && file[i + 1] == 0xDA) lastScan = i;
  ASSERT_GT(lastScan, 0u);
  const Bytes scan(file.begin() + static_cast<ptrdiff_t>(lastScan), file.end() - 2);  // up to EOI
  auto withRepeats = [&](int repeats) {
    Bytes out(file.begin(), file.end() - 2);
    for (int i = 0; i < repeats; ++i) out.insert(out.end(), scan.begin(), scan.end());
    out.push_back(0xFF);
    out.push_back(0xD9);
    return out;
  };
  const std::string path = scratchPath("scans.jpg");
  Area a = makeArea(3, 3, 0x123456);
  writeFile(path, withRepeats(100));
  EXPECT_TRUE(a->loadJPG(path.c_str()));
  a->setSize(3, 3, 0x123456);
  a->setBgColor(0x123456);
  writeFile(path, withRepeats(600));
  EXPECT_FALSE(a->loadJPG(path.c_str()));
  EXPECT_EQ(a->getWidth(), 3);
  EXPECT_EQ(a->getPixel(1, 1), 0x123456);
  std::remove(path.c_str());
}
