// Pie drawing observed in pixels: 3D walls and side faces at half
// brightness, shadow mode, sectors beyond the colour table and label lines.
// Sector 0 is red (table entry 8), sector 1 green (entry 9); half of red is
// 0x7F0000 and half of green 0x007F00.
#include <utility>
#include <vector>

#include "pie_test_util.h"

namespace pietest {
namespace {

constexpr int kHalfRed = 0x7F0000;
constexpr int kHalfGreen = 0x007F00;

TEST(PieDrawing, TiltedPieShowsItsWallBelowTheFrontRim) {
  // Depth 15, angle 45: ry = 49, the bottom of the rim at y = 149, the wall
  // down to 164.
  Pie pie = pieOf({1}, 300, 300);
  pie->set3D(-1, -1, false);
  DrawArea *a = pie->makeChart3();
  EXPECT_EQ(kRed, a->getPixel(150, 130));
  EXPECT_EQ(kHalfRed, a->getPixel(150, 157));
  EXPECT_EQ(kHalfRed, a->getPixel(100, 142));  // the rim is at y = 134 at x = 100
  EXPECT_EQ(kWhite, a->getPixel(150, 170));
  EXPECT_EQ(kWhite, a->getPixel(150, 45));     // no wall above the back rim
}

TEST(PieDrawing, ShadowModeDrawsTheDepthTowardsItsAngle) {
  // Angle 90: the depth offset is (10, 0), the wall on the right half only.
  Pie pie = pieOf({1});
  pie->set3D(10, 90, true);
  DrawArea *a = pie->makeChart3();
  EXPECT_EQ(kRed, a->getPixel(150, 150));  // the pie stays round: ry = 70
  EXPECT_EQ(kHalfRed, a->getPixel(225, 100));
  EXPECT_EQ(kWhite, a->getPixel(75, 100));
  EXPECT_EQ(kWhite, a->getPixel(150, 174));
}

TEST(PieDrawing, ExplodedSectorUncoversTheSideFaceOfItsNeighbour) {
  // Tilted by 45 (ry 49, depth 15), starting at 3 o'clock: sector 0 spans 3
  // to 6 o'clock and is pulled 20 towards 135 degrees, to centre (164, 110).
  // Sector 1's edge at 3 o'clock faces the viewer: its side face runs from
  // (150, 100) to (220, 100) and 15 pixels down, in half green.
  Pie pie = pieOf({1, 3}, 300, 300);
  pie->set3D(15, 45, false);
  pie->setStartAngle(90, true);
  pie->sector(0)->setExplode(20);
  DrawArea *a = pie->makeChart3();
  EXPECT_EQ(kHalfGreen, a->getPixel(175, 105));
  EXPECT_EQ(kRed, a->getPixel(190, 125));  // the exploded top face
  EXPECT_EQ(kGreen, a->getPixel(120, 100));
}

TEST(PieDrawing, SideFacesNearerTheDepthDirectionAreDrawnOverFartherOnes) {
  // Shadow mode, depth 20 straight down (angle 180), four quarters from 135
  // degrees clockwise on a round pie of radius 45 at (100, 75). Sector 0
  // (135 to 225, the bottom) is pulled 15 down and uncovers the centre.
  // Side faces: sector 1's start edge at 225 and sector 3's end edge at 135
  // are 45 degrees from the depth direction (key 0); sector 2's edges at 315
  // and 45 are 135 degrees from it (key 2). Each face runs from the centre
  // to P(a) and 20 down, so just below the centre the lower-left face (to
  // (68, 107)) overlaps the upper-left one (to (68, 43)), and likewise on
  // the right. The nearer faces are drawn last: half green and half yellow
  // show there, not sector 2's half blue.
  Pie pie = pieOf({1, 1, 1, 1}, 200, 160);
  pie->setPieSize(100, 75, 45);
  pie->setStartAngle(135, true);
  pie->set3D(20, 180, true);
  pie->sector(0)->setExplode(15);
  DrawArea *a = pie->makeChart3();
  for (int y = 78; y <= 80; ++y) {
    EXPECT_EQ(kHalfGreen, a->getPixel(98, y)) << y;
    EXPECT_EQ(0x7F7F00, a->getPixel(102, y)) << y;  // half of yellow, entry 11
  }
}

TEST(PieDrawing, SideFacesWithinOneRadianAreOrderedByTheirExactDistance) {
  // Seven sectors of 25, 18, 15, 12, 8, 30 and 22 (of 130), tilted with the
  // automatic depth (15, straight down), sector 2 pulled out. Sector 0's end
  // edge at 69.2 degrees is 110.8 degrees from the depth direction and sector
  // 1's end edge at 119.1 degrees is 60.9 degrees from it: both lie between
  // one and two radians. The nearer face is drawn last, so through the gap
  // sector 2 leaves, sector 1's half-green face covers sector 0's half-red
  // one, and no half red shows anywhere.
  const std::vector<double> values{25, 18, 15, 12, 8, 30, 22};
  Pie pie = pieOf(values, 420, 300);
  pie->setPieSize(210, 155, 90);
  pie->set3D(-1, -1, false);
  pie->sector(2)->setExplode(-1);
  DrawArea *a = pie->makeChart3();
  for (const auto &[x, y] : {std::pair{216, 160}, {220, 162}, {226, 164}})
    EXPECT_EQ(kHalfGreen, a->getPixel(x, y)) << x << "," << y;
  int halfRed = 0;
  for (int y = 0; y < 300; ++y)
    for (int x = 0; x < 420; ++x) halfRed += a->getPixel(x, y) == kHalfRed;
  EXPECT_EQ(0, halfRed);
}

TEST(PieDrawing, SectorsBeyondTheDefaultTableHaveNoFill) {
  // 17 equal sectors: sector 15 takes the last table entry (0xCC9999);
  // sector 16 names entry 24, beyond the table, and is drawn by its edges only.
  // Points at radius 50 on their middles: 328.2 degrees -> (124, 57),
  // 349.4 degrees -> (141, 51).
  Pie pie = pieOf(std::vector<double>(17, 1.0));
  DrawArea *a = pie->makeChart3();
  EXPECT_EQ(0xCC9999, a->getPixel(124, 57));
  EXPECT_EQ(kWhite, a->getPixel(141, 51));

  // Extending the table gives it a fill.
  Pie extended = pieOf(std::vector<double>(17, 1.0));
  extended->setColor(0xFFFF0018, 0x123456);
  a = extended->makeChart3();
  EXPECT_EQ(0x123456, a->getPixel(141, 51));
}

TEST(PieDrawing, LabelLinesJoinOutsideLabelsToTheRim) {
  // Sector 0's middle is at 3 o'clock: with the labels 20 out the anchor is
  // (240, 100) and the rim point (220, 100).
  Pie lined = pieOf({1, 1});
  lined->setLabelPos(20, kBlack);
  DrawArea *a = lined->makeChart3();
  EXPECT_EQ(kBlack, a->getPixel(225, 100));
  EXPECT_EQ(kBlack, a->getPixel(235, 100));
  EXPECT_EQ(kWhite, a->getPixel(230, 95));
  EXPECT_EQ(240, parseRect(lined->sector(0)->getLabelCoor()).left);

  Pie unlined = pieOf({1, 1});
  unlined->setLabelPos(20, Transparent);
  a = unlined->makeChart3();
  EXPECT_EQ(kWhite, a->getPixel(230, 100));

  // Inside labels never get a line: centred 30 inside the rim at (190, 100).
  Pie inside = pieOf({1, 1});
  inside->setLabelPos(-30, kBlack);
  a = inside->makeChart3();
  EXPECT_EQ(kWhite, a->getPixel(230, 100));
  const Rect r = parseRect(inside->sector(0)->getLabelCoor());
  EXPECT_NEAR(190, (r.left + r.right) / 2.0, 1);
  EXPECT_NEAR(100, (r.top + r.bottom) / 2.0, 1);
}

}  // namespace
}  // namespace pietest
