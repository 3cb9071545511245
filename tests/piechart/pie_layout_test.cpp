// Pie layout observed through the sectors' image-map polygons: fractions,
// angles in both directions, slivers, explosion and the 3D settings. Rim
// points lie on an ellipse 3.5 % larger than the pie: for the default radius
// 70 a rim point at angle a is (150 + R(72.45 sin a), 100 - R(72.45 cos a)).
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

#include "pie_test_util.h"

namespace pietest {
namespace {

// The rim points every 30 degrees from 12 o'clock for the default pie.
constexpr const char *kRimFromTop =
    "150,28,186,37,213,64,222,100,213,136,186,163,150,172,114,163,87,136,78,100,87,64,114,37,";
constexpr const char *kRimFromBottom =
    "150,172,114,163,87,136,78,100,87,64,114,37,150,28,186,37,213,64,222,100,213,136,186,163,";

TEST(PieLayout, OneSectorIsAWholeDiscWithThirteenRimPoints) {
  Pie pie = pieOf({5});
  EXPECT_EQ("<null>", str(pie->sector(0)->getImageCoor()));  // not laid out yet
  pie->makeChart3();
  EXPECT_EQ(std::string("shape=\"poly\" coords=\"") + kRimFromTop + "150,28,150,100\"",
            str(pie->sector(0)->getImageCoor()));
  // The whole disc is red; the edge colour is black on the rim.
  DrawArea *a = pie->makeChart3();
  EXPECT_EQ(kRed, a->getPixel(150, 130));
  EXPECT_EQ(kRed, a->getPixel(152, 35));   // right of the start edge, at the top
  EXPECT_EQ(kRed, a->getPixel(148, 35));   // just left of it: the sliver gap is invisible
  EXPECT_EQ(kWhite, a->getPixel(150, 20));
}

// The rim walks in 30 degree steps and ends exactly at the end angle: a
// span of k whole steps has k + 1 rim points, any other span one more than
// its steps rounded up, and no point is written twice however the steps
// add up in floating point.
TEST(PieLayout, RimPointsCountWholeStepsOnceFromEveryStartAngle) {
  for (const int span : {1, 29, 30, 31, 60, 90, 100, 120, 150, 180, 210, 240, 270, 300, 330, 359}) {
    const size_t expected = static_cast<size_t>(span % 30 == 0 ? span / 30 + 1 : span / 30 + 2);
    for (const bool clockwise : {true, false})
      for (int start = 0; start < 360; start += 3) {
        Pie pie = pieOf({static_cast<double>(span), 360.0 - span});
        pie->setStartAngle(start, clockwise);
        pie->layout();
        const std::string shape = str(pie->sector(0)->getImageCoor());
        const std::vector<int> coords = parseArea(shape).coords;
        std::vector<std::pair<int, int>> points;
        for (size_t i = 0; i + 1 < coords.size(); i += 2)
          points.emplace_back(coords[i], coords[i + 1]);
        ASSERT_EQ(expected + 1, points.size()) << span << " from " << start << " " << shape;
        for (size_t i = 1; i + 1 < points.size(); ++i)
          ASSERT_NE(points[i - 1], points[i]) << span << " from " << start << " " << shape;
      }
  }
}

TEST(PieLayout, SectorIndexOutOfRangeIsNull) {
  Pie pie = pieOf({1, 2, 3});
  EXPECT_NE(nullptr, pie->sector(2));
  EXPECT_EQ(nullptr, pie->sector(3));
  EXPECT_EQ(nullptr, pie->sector(-1));
  pie->setData(0, nullptr, nullptr);
  EXPECT_EQ(nullptr, pie->sector(0));
  // A chart without sectors has no image map.
  pie->makeChart3();
  EXPECT_EQ(nullptr, pie->getHTMLImageMap("x.html", "", ""));
}

TEST(PieLayout, ZeroTotalSharesEqually) {
  // Total 0: each of two sectors takes half, the right half and the left.
  Pie zeros = pieOf({0, 0});
  DrawArea *a = zeros->makeChart3();
  EXPECT_EQ(kRed, a->getPixel(190, 100));
  EXPECT_EQ(kGreen, a->getPixel(110, 100));
  const std::string zeroMap = zeros->getHTMLImageMap("x", "{sector}={percent}", "");
  EXPECT_NE(std::string::npos, zeroMap.find(" href=\"x?0=50.00\">\n"));
  EXPECT_NE(std::string::npos, zeroMap.find(" href=\"x?1=50.00\">\n"));
}

TEST(PieLayout, NegativeAndNonFiniteValuesCountAsZeroAndHugeOnesDoNotOverflow) {
  // Values that are negative, NaN or infinite take a sliver of 0%; the rest
  // share the circle. Probes at 40 pixels from the centre: at 60 degrees
  // (185, 80), at 90 (190, 100), at 240 (115, 120) and at 270 (110, 100).
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  constexpr double kInf = std::numeric_limits<double>::infinity();
  constexpr int kBlue = 0x0000FF;  // table entry 10: sector 2
  struct Probe {
    int x, y, color;
  };
  struct Case {
    std::vector<double> values;
    std::vector<const char *> percents;
    std::vector<Probe> probes;
  } cases[] = {
      {{1, -1, 2}, {"33.33", "0.00", "66.67"}, {{185, 80, kRed}, {115, 120, kBlue}}},
      {{1, kNaN, 1}, {"50.00", "0.00", "50.00"}, {{190, 100, kRed}, {110, 100, kBlue}}},
      {{kInf, 1, 1}, {"0.00", "50.00", "50.00"}, {{190, 100, kGreen}, {110, 100, kBlue}}},
      {{-kInf, 1e308, 1e308}, {"0.00", "50.00", "50.00"}, {{190, 100, kGreen}, {110, 100, kBlue}}},
      {{1e308, 1e308, 3e307}, {"43.48", "43.48", "13.04"}, {{185, 80, kRed}, {110, 100, kGreen}}},
      {{kNaN, kNaN}, {"50.00", "50.00"}, {{190, 100, kRed}, {110, 100, kGreen}}},
  };
  for (const Case &c : cases) {
    Pie pie = pieOf(c.values);
    DrawArea *a = pie->makeChart3();
    for (const Probe &p : c.probes)
      EXPECT_EQ(p.color, a->getPixel(p.x, p.y)) << c.values[0] << " at " << p.x << "," << p.y;
    const std::string map = str(pie->getHTMLImageMap("x", "{sector}={percent}", ""));
    for (size_t i = 0; i < c.percents.size(); ++i)
      EXPECT_NE(std::string::npos,
                map.find("href=\"x?" + std::to_string(i) + "=" + c.percents[i] + "\""))
          << c.values[0] << " sector " << i << "\n" << map;
  }

  // A non-finite value shows as empty text, in the map and in the drawn
  // label, and the labels around it keep their places.
  Pie pie = pieOf({1, kNaN, 1});
  pie->setLabelFormat("<&value&>");
  pie->makeChart3();
  const std::string map = str(pie->getHTMLImageMap("x", "[{value}]", ""));
  EXPECT_NE(std::string::npos, map.find("href=\"x?[1]\""));
  EXPECT_NE(std::string::npos, map.find("href=\"x?[]\""));
  const Rect right = parseRect(pie->sector(0)->getLabelCoor());
  const Rect left = parseRect(pie->sector(2)->getLabelCoor());
  EXPECT_GT(right.left, 150);
  EXPECT_LT(left.right, 150);
  // "<>" is narrower than "<1>".
  const Rect empty = parseRect(pie->sector(1)->getLabelCoor());
  EXPECT_LT(empty.right - empty.left, right.right - right.left);
}

TEST(PieLayout, StartAngleAndDirection) {
  // Clockwise from 3 o'clock: the first half runs through 6 o'clock.
  Pie cw = pieOf({1, 1});
  cw->setStartAngle(90, true);
  DrawArea *a = cw->makeChart3();
  EXPECT_EQ(kRed, a->getPixel(150, 150));
  EXPECT_EQ(kGreen, a->getPixel(150, 50));
  // Counter-clockwise from 3 o'clock: the first half runs through 12 o'clock.
  Pie ccw = pieOf({1, 1});
  ccw->setStartAngle(90, false);
  a = ccw->makeChart3();
  EXPECT_EQ(kRed, a->getPixel(150, 50));
  EXPECT_EQ(kGreen, a->getPixel(150, 150));
  // As drawn it runs clockwise from 9 o'clock to 3 o'clock.
  const std::string s0 = str(ccw->sector(0)->getImageCoor());
  EXPECT_EQ(0u, s0.find("shape=\"poly\" coords=\"78,100,87,64,114,37,150,28,186,37,213,64,"));
  EXPECT_EQ(s0.size() - 17, s0.rfind(",222,100,150,100\"")) << s0;

  // -90 clockwise is 270; 0 counter-clockwise is stored as -360.
  Pie minus = pieOf({1, 3});
  minus->setStartAngle(-90, true);
  EXPECT_EQ(270, impl(minus).storedStartAngle());
  a = minus->makeChart3();
  EXPECT_EQ(kRed, a->getPixel(110, 60));    // 9 to 12 o'clock
  EXPECT_EQ(kGreen, a->getPixel(190, 140));
  Pie zero = pieOf({1, 3});
  zero->setStartAngle(0, false);
  EXPECT_EQ(-360, impl(zero).storedStartAngle());
  a = zero->makeChart3();
  EXPECT_EQ(kRed, a->getPixel(110, 60));    // counter-clockwise from 12 to 9 o'clock
  EXPECT_EQ(kGreen, a->getPixel(190, 60));
  EXPECT_EQ(kGreen, a->getPixel(110, 140));
}

TEST(PieLayout, ExplodeFollowsTheMiddleOfTheSector) {
  // Sector 0 spans 12 to 6 o'clock: middle at 90 degrees. -1 pulls it out by
  // 70 / 4 = 17 pixels to the right and not at all vertically.
  Pie pie = pieOf({1, 1});
  pie->sector(0)->setExplode(-1);
  pie->sector(1)->setExplode(-5);  // other negatives: not exploded
  pie->makeChart3();
  const std::string s0 = str(pie->sector(0)->getImageCoor());
  EXPECT_EQ(0u, s0.find("shape=\"poly\" coords=\"167,28,"));
  EXPECT_EQ(s0.size() - 9, s0.rfind(",167,100\""));
  const std::string s1 = str(pie->sector(1)->getImageCoor());
  EXPECT_EQ(s1.size() - 9, s1.rfind(",150,100\""));

  // On a pie tilted by 45 degrees (ry = T(0.7071 * 70) = 49) the vertical pull
  // follows the ellipse. Starting at 3 o'clock, sector 0 spans 90 to 180
  // degrees (middle 135): x moves R(20 * 0.7071) = 14, y moves
  // -R(cos 135 * 49 * 20 / 70) = R(9.90) = 10 down. Sector 1 spans 180 to 360
  // (middle 270) and moves 20 to the left only.
  Pie tilted = pieOf({1, 2, 1}, 300, 300);
  tilted->set3D(0, 45, false);
  tilted->setStartAngle(90, true);
  tilted->sector(0)->setExplode(20);
  tilted->sector(1)->setExplode(20);
  tilted->makeChart3();
  const std::string t0 = str(tilted->sector(0)->getImageCoor());
  EXPECT_EQ(t0.size() - 9, t0.rfind(",164,110\"")) << t0;
  const std::string t1 = str(tilted->sector(1)->getImageCoor());
  EXPECT_EQ(t1.size() - 9, t1.rfind(",130,100\"")) << t1;
}

TEST(PieLayout, ThreeDSettings) {
  Pie tall = pieOf({1}, 300, 300);
  tall->set3D(-1, -1, false);
  EXPECT_EQ(15, impl(tall).depth());
  EXPECT_EQ(45, impl(tall).angle3D());
  // ry = T(0.7071 * 70) = 49; the top rim point is 100 - R(49 * 1.035) = 49.
  tall->makeChart3();
  EXPECT_EQ(0u, str(tall->sector(0)->getImageCoor()).find("shape=\"poly\" coords=\"150,49,"));

  Pie small = pieOf({1}, 40, 10);
  small->set3D(-1, -1, false);
  EXPECT_EQ(1, impl(small).depth());
  EXPECT_EQ(45, impl(small).angle3D());

  Pie flat = pieOf({1});
  flat->set3D(0, -1, false);
  EXPECT_EQ(0, impl(flat).depth());
  EXPECT_EQ(0, impl(flat).angle3D());
}

}  // namespace
}  // namespace pietest

namespace pietest {
namespace {

TEST(PieLayout, DegenerateGeometryNeitherHangsNorCrashes) {
  // A start angle that is not a number gives angles that are not numbers:
  // the polygon walk stops after its first point.
  Pie nan = pieOf({1, 2});
  nan->setStartAngle(std::nan(""), true);
  nan->makeChart3();
  EXPECT_NE(nullptr, nan->getHTMLImageMap("x", "", ""));

  // Radius 0: the explode and label proportions divide by the radius.
  Pie point = pieOf({1, 2});
  point->setPieSize(150, 100, 0);
  point->sector(0)->setExplode(10);
  point->setLabelPos(20, kBlack);
  point->makeChart3();
  const std::string s0 = str(point->sector(0)->getImageCoor());
  // Sector 0 spans 0 to 120 degrees: it moves R(10 sin 60) = R(8.66) = 9
  // to the right; with no ellipse to follow it does not move vertically.
  EXPECT_EQ(s0.size() - 9, s0.rfind(",159,100\"")) << s0;
}

TEST(PieLayout, LayoutAloneGivesSectorShapesButNoLabelAreas) {
  Pie pie = pieOf({1, 1});
  pie->layout();
  EXPECT_NE(nullptr, pie->sector(0)->getImageCoor());
  EXPECT_EQ(nullptr, pie->sector(0)->getLabelCoor());
  const std::string map = str(pie->getHTMLImageMap("x", "", ""));
  EXPECT_EQ(2u, static_cast<size_t>(std::count(map.begin(), map.end(), '\n')));
}

}  // namespace
}  // namespace pietest
