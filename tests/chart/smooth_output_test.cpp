// What the image writers make of smooth charts, read back by libpng and
// giflib: a chart with smooth shapes in steps keeps to 256 colours and is
// written as a palette PNG; in the fine mode it has more than 256 and is
// written as true colour; either way every pixel reads back as drawn. GIF
// reduces the fine chart to 256 colours and stays a valid picture. The
// reference bar, line and pie charts drawn in steps stay palette images
// with 16 or more levels between a line's colour and the plot area.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <set>
#include <string>

#include "../../bench/reference_charts.h"
#include "imageio/codec_test_util.h"
#include "test_util.h"

namespace {

using namespace testutil;

PieChart *pie(int mode) {
  PieChart *c = PieChart::create(320, 240, kWhite, Transparent);
  c->setAntiAlias(mode);
  c->setPieSize(160, 120, 80);
  c->set3D(12, 45, false);
  const double values[] = {25, 18, 15, 12, 30};
  const char *labels[] = {"North", "South", "East", "West", "Centre"};
  c->setData(5, values, labels);
  c->sector(2)->setExplode(10);
  return c;
}

TEST(SmoothOutput, PaletteWhenTheColoursFitTrueColourOtherwise) {
  const struct {
    int mode;
    int colorType;  // PNG colour type: 3 palette, 6 RGBA
  } cases[] = {{0, 3}, {1, 3}, {2, 6}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.mode);
    Owned<PieChart> chart(pie(c.mode));
    const Bytes png = bytesOf(chart->makeChart2(BaseChart::PNG));
    DrawArea *area = chart->makeChart3();
    ASSERT_NE(area, nullptr);
    std::set<int> colours;
    for (int p : pixels(area)) colours.insert(p);
    EXPECT_EQ(colours.size() <= 256, c.colorType == 3) << colours.size() << " colours";
    const iotest::PngImage image = iotest::decodePng(png);
    ASSERT_TRUE(image.ok);
    EXPECT_EQ(image.colorType, c.colorType);
    // Every pixel as drawn: R, G, B and alpha 255 - transparency.
    for (int y = 0; y < 240; ++y)
      for (int x = 0; x < 320; ++x) {
        const uint32_t p = static_cast<uint32_t>(area->getPixel(x, y));
        const uint8_t *q = &image.rgba[static_cast<size_t>(y * 320 + x) * 4];
        ASSERT_EQ(q[0], (p >> 16) & 255);
        ASSERT_EQ(q[1], (p >> 8) & 255);
        ASSERT_EQ(q[2], p & 255);
        ASSERT_EQ(q[3], 255 - (p >> 24));
      }
    if (c.mode == 2) {
      const iotest::GifImage gif = iotest::decodeGif(bytesOf(chart->makeChart2(BaseChart::GIF)));
      EXPECT_TRUE(gif.ok);
      EXPECT_EQ(gif.width, 320);
      EXPECT_EQ(gif.height, 240);
    }
  }
}

// Blends strictly between colours a and b (both opaque): pixels whose
// channels all sit at one fraction of the way from a to b, within rounding.
size_t blendsBetween(const std::vector<int> &image, uint32_t a, uint32_t b) {
  std::set<int> found;
  for (const int p : image) {
    double t = -1;
    bool isMix = true;
    for (int shift = 0; shift < 24 && isMix; shift += 8) {
      const int from = (a >> shift) & 255, to = (b >> shift) & 255, v = (p >> shift) & 255;
      if (from == to) {
        isMix = std::abs(v - from) <= 1;
        continue;
      }
      const double u = double(v - from) / (to - from);
      isMix = u > 0 && u < 1 && (t < 0 || std::abs(u - t) * std::abs(to - from) <= 1.5);
      if (t < 0) t = u;
    }
    if (isMix && t > 0) found.insert(p);
  }
  return found.size();
}

TEST(SmoothOutput, ReferenceChartsInStepsArePaletteImagesReadBackAsDrawn) {
  const struct {
    const char *name;
    std::function<BaseChart *()> make;
  } cases[] = {{"bar", [] { return reference::sideBySideBars(); }},
               {"line", [] { return reference::fourLines(); }},
               {"pie", [] { return reference::labelledPie(); }}};
  for (const auto &c : cases) {
    SCOPED_TRACE(c.name);
    Owned<BaseChart> chart(c.make());
    chart->setAntiAlias(1);
    const iotest::PngImage image = iotest::decodePng(bytesOf(chart->makeChart2(BaseChart::PNG)));
    ASSERT_TRUE(image.ok);
    EXPECT_EQ(image.colorType, 3);
    DrawArea *area = chart->makeChart3();
    for (int y = 0; y < image.height; ++y)
      for (int x = 0; x < image.width; ++x)
        ASSERT_EQ(iotest::pngPixel(image, x, y), static_cast<uint32_t>(area->getPixel(x, y)));
    if (std::string(c.name) == "line") {
      // The first automatic data colour (red) over the white plot area keeps
      // 16 levels or more: 15 blends between and the whole colour.
      EXPECT_GE(blendsBetween(pixels(area), 0xFF0000, 0xFFFFFF), 15u);
    }
  }
}

}  // namespace
