// The setters every chart shares (titles, texts, lines, the legend, the
// border), a pie chart's and its sectors', and text drawn straight on an
// area, swept with the int and double values a host can pass at the edges:
// each chart still draws and maps, and text placed off the area leaves it
// untouched. The sanitizer builds turn any overflow on the way into a failure.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "test_util.h"

namespace {

using namespace testutil;

const double kInf = std::numeric_limits<double>::infinity();

Owned<PieChart> pie() {
  Owned<PieChart> c(PieChart::create(160, 120, kWhite, kBlack));
  const double data[] = {3, 1, 2};
  const char *labels[] = {"a", "b", "c"};
  c->setData(3, data, labels);
  c->setPieSize(80, 60, 35);
  return c;
}

Owned<XYChart> xy() {
  Owned<XYChart> c(XYChart::create(160, 120, kWhite, kBlack));
  c->setPlotArea(30, 20, 100, 70, kWhite, -1, kBlack, -1, -1);
  const double data[] = {3, 1, 2};
  c->addBarLayer(3, data, -1, "bars", 0);
  return c;
}

// Draws and maps a chart; false when it could not be drawn.
bool drawAndMap(BaseChart &c) {
  if (c.makeChart3() == nullptr) return false;
  c.getHTMLImageMap("u", "{label}", "title='{value}'");
  if (LegendBox *legend = c.getLegend()) {
    legend->getHTMLImageMap("u", "", "");
    for (int i : {INT_MIN, -1, 0, 1, INT_MAX}) legend->getImageCoor(i);
  }
  return true;
}

}  // namespace

TEST(ChartExtremeArguments, SharedSettersOnBothChartKinds) {
  using Setter = std::function<void(BaseChart &, int, double)>;
  const std::vector<Setter> setters = {
      [](BaseChart &c, int v, double) { c.setBackground(v, v, v); },
      [](BaseChart &c, int v, double) { c.setBorder(v); },
      [](BaseChart &c, int v, double) { c.setBgImage(nullptr, v); },
      [](BaseChart &c, int v, double) { c.setTransparentColor(v); },
      [](BaseChart &c, int v, double d) {
        c.addTitle2(v, "title", nullptr, 8, v, v, v)->setFontAngle(d, false);
      },
      [](BaseChart &c, int v, double) {
        TextBox *t = c.addTitle("title", nullptr, 8, kBlack, kWhite, kBlack);
        t->setMargin2(v, v, v, v);
        t->setSize(v, v);
        t->setPos(v, v);
      },
      [](BaseChart &c, int v, double d) {
        TextBox *t = c.addText(v, v, "text", nullptr, 8, v, v, d, v % 2 != 0);
        t->setMargin(v);
        t->setBackground(kWhite, v, v);
      },
      [](BaseChart &c, int v, double) { c.addText(v, -(v / 2), "text", nullptr, 8, kBlack, 5, 33, false); },
      [](BaseChart &c, int v, double) { c.addLine(v, -(v / 3), 5, v, kRed, v); },
      [](BaseChart &c, int v, double) {
        c.addLine(1, 1, 100, 100, kRed, 1)->setPos(v, v, -(v / 2), v);
      },
      [](BaseChart &c, int v, double) {
        LegendBox *legend = c.addLegend(v, v, v % 2 != 0, nullptr, 8);
        legend->addKey("key", v);
        legend->addKey("line key", kRed, v, nullptr);
        legend->setKeySize(v, v, v);
      },
      [](BaseChart &c, int v, double) {
        c.addLegend(10, 10, true, nullptr, 8)->setKeySize(3, 3, v);
      },
      [](BaseChart &c, int v, double) {
        c.setColor(v, v);
        c.getColor(v);
      },
      [](BaseChart &c, int v, double d) {
        const int stops[] = {0, kRed, 255, kBlue};
        c.setBackground(c.gradientColor2(stops, d, d, v, v), kBlack, 0);
        c.setBorder(c.gradientColor(v, v, -(v / 2), v, kRed, kBlue));
      },
      [](BaseChart &c, int v, double) {
        const int pattern[] = {kRed, kBlue};
        c.setBackground(c.patternColor(pattern, 2, 1, v, v), c.dashLineColor(kRed, v), 1);
      },
      [](BaseChart &c, int v, double) { c.setAntiAlias(v); },
  };
  for (size_t k = 0; k < setters.size(); ++k)
    for (size_t i = 0; i < std::size(kEdgeInts); ++i) {
      SCOPED_TRACE(::testing::Message() << "setter " << k << " with " << kEdgeInts[i]);
      auto x = xy();
      setters[k](*x, kEdgeInts[i], edgeDoubleFor(i));
      EXPECT_TRUE(drawAndMap(*x));
      auto p = pie();
      setters[k](*p, kEdgeInts[i], edgeDoubleFor(i));
      EXPECT_TRUE(drawAndMap(*p));
    }
}

TEST(ChartExtremeArguments, PieAndSectorSetters) {
  using Setter = std::function<void(PieChart &, int, double)>;
  const std::vector<Setter> setters = {
      [](PieChart &c, int v, double) { c.setPieSize(v, v, v); },
      [](PieChart &c, int v, double) { c.setPieSize(80, 60, v); },
      [](PieChart &c, int v, double) { c.setPieSize(v, -(v / 2), 30); },
      [](PieChart &c, int v, double d) { c.set3D(v, d, v % 2 != 0); },
      [](PieChart &c, int v, double d) { c.set3D(-1, d, v % 2 == 0); },
      [](PieChart &c, int v, double d) { c.setStartAngle(d, v % 2 != 0); },
      [](PieChart &c, int v, double) { c.setLabelPos(v, v); },
      [](PieChart &c, int v, double d) {
        c.setLabelFormat("&label& &value|2& &percent|1&%");
        c.setLabelStyle(nullptr, 8, v)->setFontAngle(d, false);
      },
      [](PieChart &c, int, double d) {
        const double data[] = {d, -d, d, 1};
        c.setData(4, data, nullptr);
      },
      [](PieChart &c, int v, double d) {
        Sector *s = c.sector(1);
        s->setExplode(v);
        s->setLabelPos(v, v);
        s->setColor(v, v);
        s->setLabelStyle(nullptr, 8, v)->setFontAngle(d, true);
        c.sector(v);
      },
      [](PieChart &c, int v, double) {
        c.set3D(v, 45, false);
        c.sector(0)->setExplode(v);
        c.setLabelPos(-(v / 2), kBlack);
      },
  };
  for (size_t k = 0; k < setters.size(); ++k)
    for (size_t i = 0; i < std::size(kEdgeInts); ++i) {
      SCOPED_TRACE(::testing::Message() << "setter " << k << " with " << kEdgeInts[i] << ", "
                                        << edgeDoubleFor(i));
      auto c = pie();
      setters[k](*c, kEdgeInts[i], edgeDoubleFor(i));
      EXPECT_TRUE(drawAndMap(*c));
      for (int s = 0; s < 4; ++s)
        if (Sector *sector = c->sector(s)) {
          sector->getImageCoor();
          sector->getLabelCoor();
        }
    }
}

TEST(ChartExtremeArguments, TextAtEveryEdgeOfTheIntRange) {
  // Text placed wholly off the area leaves it untouched, however it is
  // aligned, turned or sized; the same texts placed on it draw.
  Area a = makeArea(40, 30);
  for (int x : {INT_MIN, INT_MIN + 1, -100000, 100000, INT_MAX - 1, INT_MAX})
    for (int alignment : {int{AlignTopLeft}, int{AlignCentre}, int{AlignBottomRight}, INT_MIN, INT_MAX})
      for (double angle : {0.0, 33.0, 90.0, 1e308, -kInf, std::nan("")}) {
        a->text2("Wg\nline", nullptr, 0, 8, 8, angle, 0, x, 15, kBlack, alignment);
        a->text2("Wg", nullptr, 0, 8, 8, angle, 1, 20, x, kBlack, alignment);
        a->text("Wg", nullptr, 8, x, x, kBlack);
        if (TTFText *t = a->text4("Wg\nline", nullptr, 0, 8, 8, angle, 0)) {
          t->draw(x, x, kBlack, static_cast<Alignment>(alignment));
          t->draw(x, 15, kBlack, AlignCentre);
          a->close(t);
        }
      }
  // Sizes that are no size draw nothing either.
  for (double size : {std::nan(""), -kInf, -1.0, 0.0})
    a->text2("Wg", nullptr, 0, size, size, 0, 0, 20, 15, kBlack, AlignCentre);
  for (int p : pixels(a.get())) ASSERT_EQ(kWhite, p);
  a->text2("Wg", nullptr, 0, 8, 8, 33, 0, 20, 15, kBlack, AlignCentre);
  const std::vector<int> drawn = pixels(a.get());
  EXPECT_NE(std::count(drawn.begin(), drawn.end(), kWhite), static_cast<long>(drawn.size()));
}
