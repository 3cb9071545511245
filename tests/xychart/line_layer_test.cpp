// Line layers through the published interface: gaps, symbols and images at
// the points, flat and 3D ribbons with their underside colour, labels turned
// inwards at the layer's ends and shape records (hostile values:
// extreme_arguments_test.cpp). The plot is 201 x 100 at (20, 20) on a 0..100
// scale, so value v sits on row 119 - v, and n points sit at
// x = 20 + trunc(i / (n - 1) * 200.9999).
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "test_util.h"

namespace {

using namespace testutil;

constexpr double kGap = NoValue;

Owned<XYChart> chart() {
  Owned<XYChart> c(XYChart::create(300, 140, kWhite, Transparent));
  c->setPlotArea(20, 20, 201, 100, kWhite, -1, kBlack, Transparent, Transparent);
  c->yAxis()->setLinearScale(0, 100, 10);
  return c;
}

struct Px {
  int x, y, colour;
};

void expectPixels(DrawArea *a, const std::vector<Px> &pixels, const char *what) {
  for (const Px &p : pixels)
    EXPECT_EQ(p.colour, a->getPixel(p.x, p.y)) << what << " at " << p.x << "," << p.y;
}

TEST(XyLineFlat, GapsSymbolsAndImages) {
  // Points at x 20, 70, (gap at 120), 170, 220; symbols checked around (70, 99).
  const double v[] = {20, 20, kGap, 60, 60};
  const int kYellow = 0x00FFFF00;
  Area image = makeArea(3, 3, kYellow);
  const struct {
    SymbolType type;
    bool image;  // set after the type: the image wins
    std::vector<Px> pixels;
  } cases[] = {
      {SquareSymbol, false,  // (0,0)-(6,6)
       {{67, 96, kGreen}, {73, 102, kGreen}, {68, 97, kBlue}, {66, 96, kWhite}, {74, 102, kWhite}}},
      {DiamondSymbol, false,  // (3,0) (6,3) (3,6) (0,3)
       {{70, 96, kGreen}, {73, 99, kGreen}, {70, 102, kGreen}, {67, 99, kGreen}, {70, 99, kBlue},
        {67, 96, kWhite}, {67, 98, kWhite}, {73, 102, kWhite}}},
      {SquareSymbol, true, {{69, 98, kYellow}, {71, 100, kYellow}, {67, 96, kWhite}}},
  };
  for (const auto &k : cases) {
    auto c = chart();
    LineLayer *layer = c->addLineLayer2(Layer::Overlay, 0);
    DataSet *ds = layer->addDataSet(5, v, kRed, "");
    ds->setDataSymbol(k.type, 7, kBlue, kGreen);
    if (k.image) ds->setDataSymbol3(image.get());
    DrawArea *a = c->makeChart3();
    expectPixels(a, k.pixels, "symbol");
    // Two polylines, nothing joining them and no symbol at the gap.
    expectPixels(a, {{45, 99, kRed}, {195, 59, kRed}, {95, 99, kWhite}, {120, 79, kWhite},
                     {145, 69, kWhite}}, "lines");
    EXPECT_EQ(nullptr, layer->getImageCoor(0, 2));
    for (int y = 0; y < 140; ++y)
      for (int x = 110; x <= 130; ++x) EXPECT_NE(kBlue, a->getPixel(x, y)) << x << "," << y;
  }
}

TEST(XyLine3D, StepsRibbonsAndTheirUndersides) {
  // Depth 4 over 5 data sets gives steps of 0: flat, data set 0 on top.
  auto flat = chart();
  LineLayer *layer = flat->addLineLayer2(Layer::Overlay, 4);
  const double level[] = {50, 50, 50};
  for (int d = 0; d < 5; ++d) layer->addDataSet(3, level, d == 0 ? kRed : kBlue, "");
  expectPixels(flat->makeChart3(), {{70, 69, kRed}, {70, 68, kWhite}, {71, 68, kWhite}}, "flat");
  // Depth (40, 10), slope 0.25; points (20, 109), (120, 99), (220, 39). The
  // first segment climbs 10 per 201 / 2 pixels and shows its face, centred at
  // (90, 99); the second climbs 60 and shows its underside, centred at (190, 64).
  // The underside halves each byte of the face, rounding down; the automatic
  // colour (-1) is table entry 8, 0xFF0000.
  const struct {
    int colour, face, underside;
  } colours[] = {{kRed, kRed, 0x7F0000}, {-1, kRed, 0x7F0000}, {0xC16131, 0xC16131, 0x603018}};
  for (const auto &[colour, face, underside] : colours) {
    auto c = chart();
    layer = c->addLineLayer2(Layer::Overlay, 0);
    layer->set3D2(40, 10, 0, 0);
    const double rising[] = {10, 20, 80};
    layer->addDataSet(3, rising, colour, "");
    expectPixels(c->makeChart3(), {{90, 99, face}, {190, 64, underside}}, "ribbon");
  }
}

TEST(XyLineLabels, TurnInwardsAtTheEndsOfTheLayer) {
  // One red label at value 50 (row 69): it reaches left of the point's x,
  // right of it, or both.
  const struct {
    int points, i, x, alignment;
    bool ownStyle, reachesLeft, reachesRight;
  } cases[] = {
      {3, 0, 20, AlignCentre, false, false, true},  // 0 pixels from the left: AlignLeft
      {3, 1, 120, AlignCentre, false, true, true},
      {3, 2, 220, AlignCentre, true, true, false},         // 0 from the right: AlignRight
      {101, 1, 22, AlignRight, false, true, false},        // 2 from the left: kept
      {101, 99, 218, AlignBottomLeft, true, true, false},  // 2 from the right: turned
      {101, 98, 216, AlignLeft, false, false, true},       // 4 from the right: kept
  };
  for (const auto &k : cases) {
    auto c = chart();
    LineLayer *layer = c->addLineLayer2(Layer::Overlay, 0);
    std::vector<double> v(static_cast<size_t>(k.points), kGap);
    v[static_cast<size_t>(k.i)] = 50;
    DataSet *ds = layer->addDataSet(k.points, v.data(), Transparent, "");
    (k.ownStyle ? ds->setDataLabelFormat("888") : layer->setDataLabelFormat("888"));
    (k.ownStyle ? ds->setDataLabelStyle("", 8, kRed, 0) : layer->setDataLabelStyle("", 8, kRed, 0))
        ->setAlignment(k.alignment);
    DrawArea *a = c->makeChart3();
    int left = 1000, right = -1;
    for (int y = 49; y <= 89; ++y)
      for (int x = k.x - 50; x <= k.x + 50; ++x)
        if (const int p = a->getPixel(x, y); ((p >> 16) & 0xFF) > 200 && ((p >> 8) & 0xFF) < 200)
          left = std::min(left, x), right = std::max(right, x);
    EXPECT_TRUE(k.reachesLeft == (left < k.x - 2) && k.reachesRight == (right > k.x + 2))
        << k.i << ": " << left << ".." << right;
  }
}

TEST(XyLineMap, BandsAroundTheLine) {
  auto c = chart();
  LineLayer *layer = c->addLineLayer2(Layer::Overlay, 0);
  const double v[] = {10, 50, 30, kGap};  // x 20, 86, 153; rows 109, 69, 89
  DataSet *ds = layer->addDataSet(4, v, kRed, "");
  ds->setLineWidth(9);
  ds->setDataSymbol(SquareSymbol, 7, kBlue, kGreen);
  ASSERT_NE(nullptr, c->makeChart3());
  // Half band max(3, 9 / 2 + 1, 7 / 2) = 5. Point 1 reaches from x(0.5) = 53 to
  // x(1.5) = 120, to rows midway to 109 and 89; point 0 is clipped at 20.
  EXPECT_EQ("shape=\"poly\" coords=\"53,84,86,64,120,74,120,84,86,74,53,94\"",
            str(layer->getImageCoor(0, 1)));
  EXPECT_EQ("shape=\"poly\" coords=\"20,104,20,104,53,84,53,94,20,114,20,114\"",
            str(layer->getImageCoor(0, 0)));
  EXPECT_EQ(rectText(53, 64, 120, 94), str(layer->getImageCoor2(1)));
}

}  // namespace
