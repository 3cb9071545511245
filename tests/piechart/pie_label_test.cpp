// Sector labels and the pie image map: alignment by the middle angle, the
// depth shift, format resolution and the areas with their queries.
#include <algorithm>

#include "pie_test_util.h"

namespace pietest {
namespace {

Pie labelled(const std::vector<double> &values, const std::vector<const char *> &labels) {
  Pie pie = makePie();
  pie->setData(static_cast<int>(values.size()), values.data(), labels.data());
  return pie;
}

TEST(PieLabel, AlignmentChangesJustPastThreeEighthsOfTheCircle) {
  // Values (3, 1): sector 0 spans 0 to 270 degrees, its middle exactly at
  // 3π/4. Label position -1 is 70 / 10 = 7: the anchor is at
  // (150 + R(77 sin 135), 100 - R(77 cos 135)) = (204, 154).
  Pie exact = pieOf({3, 1});
  exact->makeChart3();
  const Rect left = parseRect(exact->sector(0)->getLabelCoor());
  EXPECT_EQ(204, left.left);  // AlignLeft: left edge at the anchor, centred on it
  EXPECT_LT(left.top, 154);
  EXPECT_GT(left.bottom, 154);

  Pie past = pieOf({3, 1});
  past->setStartAngle(1e-7, true);
  past->makeChart3();
  const Rect topLeft = parseRect(past->sector(0)->getLabelCoor());
  EXPECT_EQ(204, topLeft.left);  // AlignTopLeft: top-left corner at the anchor
  EXPECT_EQ(154, topLeft.top);
}

TEST(PieLabel, LabelsOnTheDepthSideMoveDownByTheDepth) {
  // From 3 o'clock: sector 0's middle is at 6 o'clock, sector 1's at 12.
  // Flat, the 6 o'clock anchor is at y = 100 + 77 = 177; with depth 20 at 197.
  // The 12 o'clock label ends at y = 100 - 77 = 23 either way.
  for (const int depth : {0, 20}) {
    Pie pie = pieOf({1, 1});
    pie->set3D(depth, 0, false);
    pie->setStartAngle(90, true);
    pie->makeChart3();
    EXPECT_EQ(177 + depth, parseRect(pie->sector(0)->getLabelCoor()).top) << depth;
    EXPECT_EQ(23, parseRect(pie->sector(1)->getLabelCoor()).bottom) << depth;
  }
}

TEST(PieLabel, FormatsResolveOnceAtLayout) {
  Pie pie = labelled({1, 1, 1}, {"A", nullptr, "C"});
  pie->setLabelFormat("&label&");
  pie->sector(1)->setLabelFormat("");  // the built-in two-line format
  pie->sector(2)->setLabelFormat("&label&");
  pie->makeChart3();
  pie->setLabelFormat("&label&\n&label&\n&label&");  // too late
  const Rect a = parseRect(pie->sector(0)->getLabelCoor());
  const Rect b = parseRect(pie->sector(1)->getLabelCoor());
  const Rect c = parseRect(pie->sector(2)->getLabelCoor());
  // One line for A and C, an empty line and the percentage for sector 1.
  EXPECT_EQ(a.bottom - a.top, c.bottom - c.top);
  EXPECT_GT(b.bottom - b.top, a.bottom - a.top);

  // A label whose text is empty has no area; the sector keeps its own.
  Pie empty = labelled({1, 1}, {"A", "B"});
  empty->setLabelFormat("&label&");
  empty->sector(1)->setLabelStyle("", 10, 0x000000);
  empty->sector(1)->setLabelFormat("&label&");
  empty->makeChart3();
  EXPECT_NE(nullptr, empty->sector(0)->getLabelCoor());
  const Rect small = parseRect(empty->sector(0)->getLabelCoor());
  const Rect large = parseRect(empty->sector(1)->getLabelCoor());
  EXPECT_GT(large.bottom - large.top, small.bottom - small.top);  // 10 points against 8
}

// The width and height of a label's rectangle.
std::pair<int, int> sizeOf(const char *shape) {
  const Rect r = parseRect(shape);
  return {r.right - r.left, r.bottom - r.top};
}

TEST(PieLabel, FieldsExpandIntoTheDrawnText) {
  // Each label is compared with a free text box of the expected text in the
  // same style: equal texts lay out to equal rectangles.
  Pie pie = labelled({1, 3, 1234.6}, {"A", "B", "C"});
  pie->setLabelStyle("arial.ttf", 10, kBlack);
  pie->sector(1)->setLabelFormat("&label&: &value& (&percent|0&%)");
  pie->sector(2)->setLabelFormat("&value|0& &value &label&");  // "&value " is no field
  TextBox *a = pie->addText(5, 5, "A\n0.08%", "arial.ttf", 10, kBlack, AlignTopLeft, 0, false);
  TextBox *b = pie->addText(5, 40, "B: 3 (0%)", "arial.ttf", 10, kBlack, AlignTopLeft, 0, false);
  TextBox *c = pie->addText(5, 70, "1235 &value C", "arial.ttf", 10, kBlack, AlignTopLeft, 0,
                            false);
  pie->makeChart3();
  EXPECT_EQ(sizeOf(a->getImageCoor()), sizeOf(pie->sector(0)->getLabelCoor()));
  EXPECT_EQ(sizeOf(b->getImageCoor()), sizeOf(pie->sector(1)->getLabelCoor()));
  EXPECT_EQ(sizeOf(c->getImageCoor()), sizeOf(pie->sector(2)->getLabelCoor()));
}

TEST(PieLegend, LabelledSectorsAddKeysInOrderWithTheirStoredColours) {
  Pie pie = labelled({1, 1, 1}, {"A", nullptr, "C"});
  pie->sector(2)->setColor(0x123456, -1);
  LegendBox *legend = pie->addLegend(250, 10, true, "", 8);
  DrawArea *a = pie->makeChart3();
  // Keys for A and C only; the key of C is drawn in its own colour.
  const std::string map = str(legend->getHTMLImageMap("k", "{dataSet}={dataSetName}", ""));
  EXPECT_NE(std::string::npos, map.find("href=\"k?0=A\""));
  EXPECT_NE(std::string::npos, map.find("href=\"k?1=C\""));
  EXPECT_EQ(2, std::count(map.begin(), map.end(), '\n'));
  const Rect key = parseRect(legend->getImageCoor(1));
  int own = 0;
  for (int y = key.top; y <= key.bottom; ++y)
    for (int x = key.left; x <= key.right; ++x) own += a->getPixel(x, y) == 0x123456;
  EXPECT_GT(own, 4);
}

TEST(PieChartOutput, DrawingTwiceGivesTheSameBytes) {
  auto png = [] {
    Pie pie = labelled({3, 2, 1}, {"A", "B", "C"});
    pie->set3D(-1, -1, false);
    pie->sector(1)->setExplode(-1);
    const MemBlock m = pie->makeChart2(BaseChart::PNG);
    return std::string(m.data, static_cast<size_t>(m.len));
  };
  const std::string first = png();
  EXPECT_FALSE(first.empty());
  EXPECT_EQ(first, png());
}

TEST(PieMap, TwoSectorsGiveFourAreas) {
  // Values (2, 3): sector 0 spans 0 to 144 degrees, sector 1 144 to 360;
  // rim points on radius 72.45 every 30 degrees from each start, the last at the end.
  Pie pie = labelled({2, 3}, {"A", "B"});
  EXPECT_EQ("", str(pie->getHTMLImageMap("x.html", "", "")));  // nothing drawn yet
  pie->makeChart3();
  const std::string map = str(pie->getHTMLImageMap("x.html", "", ""));
  const std::string q0 = " href=\"x.html?sector=0&label=A&value=2&percent=40.00\">\n";
  const std::string q1 = " href=\"x.html?sector=1&label=B&value=3&percent=60.00\">\n";
  const std::string label0 = str(pie->sector(0)->getLabelCoor());
  const std::string label1 = str(pie->sector(1)->getLabelCoor());
  EXPECT_EQ(
      "<area shape=\"poly\" coords=\"150,28,186,37,213,64,222,100,213,136,193,159,150,100\"" +
          q0 + "<area " + label0 + q0 +
          "<area shape=\"poly\" coords=\"193,159,158,172,121,166,91,143,78,108,84,71,107,41,"
          "142,28,150,28,150,100\"" +
          q1 + "<area " + label1 + q1,
      map);

  // A query starting with "&" follows the URL directly; extra attributes are
  // expanded and escaped for the sector too.
  const std::string amp = str(pie->getHTMLImageMap("x.html", "&id={sector}", "title='{label}'"));
  EXPECT_EQ(0u, amp.find("<area shape=\"poly\" coords=\"150,28,"));
  EXPECT_NE(std::string::npos, amp.find(" title='A' href=\"x.html&id=0\">\n"));
  EXPECT_NE(std::string::npos, amp.find(" title='B' href=\"x.html&id=1\">\n"));
}

TEST(PieImageMap, HostileLabelsStayEscapedTextAndLeaveTheHostTemplateIntact) {
  // A label that tries to open a field ending in the host's template: every
  // area holds it as escaped text, and the host's own text and fields are
  // all there.
  const double values[] = {1, 3};
  const char *labels[] = {"{value|\" onmouseover=alert(1) x=", "B"};
  Pie pie = makePie();
  pie->setData(2, values, labels);
  pie->makeChart3();
  const std::string map =
      str(pie->getHTMLImageMap("d.php", "", "title=\"{label}\" data-v={value} alt=\"{label}\""));
  const std::string shown = "{value|&quot; onmouseover=alert(1) x=";
  const std::string attrs0 = " title=\"" + shown + "\" data-v=1 alt=\"" + shown + "\"";
  const std::string href0 =
      " href=\"d.php?sector=0&label=%7Bvalue%7C%22%20onmouseover%3Dalert%281%29%20x%3D"
      "&value=1&percent=25.00\">\n";
  const std::string attrs1 = " title=\"B\" data-v=3 alt=\"B\"";
  const std::string href1 = " href=\"d.php?sector=1&label=B&value=3&percent=75.00\">\n";
  // Sector and label area of each sector, in order.
  size_t at = 0;
  for (const std::string &area : {attrs0 + href0, attrs0 + href0, attrs1 + href1, attrs1 + href1}) {
    const size_t found = map.find(area, at);
    ASSERT_NE(std::string::npos, found) << map;
    at = found + area.size();
  }
  EXPECT_EQ(map.size(), at);
  EXPECT_EQ(std::string::npos, map.find("\" onmouseover"));
}

}  // namespace
}  // namespace pietest
