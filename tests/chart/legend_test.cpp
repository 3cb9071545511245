// The legend: automatic sizes, horizontal rows that wrap, vertical layout,
// key coordinates and samples, and the legend's image map. Text sizes are
// measured through the public DrawArea; everything else is worked out from
// the layout rules at 10 points: key 10 x 10 (20 wide for line keys), gap 5,
// spacing 30, row gap 2, margins 10.
#include <algorithm>

#include "chart_test_util.h"

using namespace charttest;

namespace {

const char *const kNames[3] = {"Alpha", "Beta", "Gamma"};

struct Row {
  TextSize text[3];
  int height = 0;  // max(text height, key height) over the keys
};

Row measureKeys() {
  Row r;
  for (int i = 0; i < 3; ++i) {
    r.text[i] = measure(kNames[i], "arial.ttf", 10);
    r.height = std::max({r.height, r.text[i].height, 10});
  }
  return r;
}

std::string keyRect(int x, int y, const TextSize &t, int keyWidth = 10, int keyHeight = 10,
                    int gap = 5) {
  return rectText(x, y, x + t.width + gap + keyWidth - 1,
                  y + std::max(t.height, keyHeight) - 1);
}

Chart chartWithKeys(bool vertical, LegendBox **legend) {
  Chart c = makeChart(600, 300);
  c->layoutKeys = {{kNames[0], kRed}, {kNames[1], kGreen}, {kNames[2], kBlue}};
  *legend = c->addLegend(10, 20, vertical, "arial.ttf", 10);
  return c;
}

}  // namespace

TEST(Legend, HorizontalRowAndItsAutomaticSize) {
  const Row r = measureKeys();
  LegendBox *legend;
  Chart c = chartWithKeys(false, &legend);
  EXPECT_EQ(c->getLegend(), legend);
  EXPECT_EQ(legend->getImageCoor(0), nullptr);  // the keys come at layout
  c->makeChart3();
  // One row: keys separated by the spacing, none before the first.
  const int x0 = 20, x1 = x0 + 15 + r.text[0].width + 30, x2 = x1 + 15 + r.text[1].width + 30;
  const int end = x2 + 15 + r.text[2].width;
  EXPECT_EQ(legend->getImageCoor(0), keyRect(x0, 30, r.text[0]));
  EXPECT_EQ(legend->getImageCoor(1), keyRect(x1, 30, r.text[1]));
  EXPECT_EQ(legend->getImageCoor(2), keyRect(x2, 30, r.text[2]));
  // Width: right margin + pen - x + 1 (one pixel more than the content);
  // height: bottom + row + top + 1.
  const int w = 10 + end - 10 + 1, h = 10 + r.height + 10 + 1;
  EXPECT_EQ(legend->getImageCoor(), rectText(10, 20, 10 + w - 1, 20 + h - 1));
  EXPECT_EQ(legend->getImageCoor(3), nullptr);
  EXPECT_EQ(legend->getImageCoor(-1), nullptr);
}

TEST(Legend, HorizontalRowsWrapInAFixedWidth) {
  const Row r = measureKeys();
  const int x1 = 20 + 15 + r.text[0].width + 30;
  const int oneRowEnd = x1 + 15 + r.text[1].width + 30 + 15 + r.text[2].width;
  // The third key fits while its text ends at the right margin, which the
  // automatic width leaves one pixel wider. One pixel less, and it starts a
  // second row.
  LegendBox *legend;
  Chart c = chartWithKeys(false, &legend);
  const int w = 10 + oneRowEnd - 10 - 1;
  legend->setSize(w, 0);
  c->makeChart3();
  EXPECT_EQ(legend->getImageCoor(1), keyRect(x1, 30, r.text[1]));
  const int secondRow = 30 + 2 + r.height;
  EXPECT_EQ(legend->getImageCoor(2), keyRect(20, secondRow, r.text[2]));
  EXPECT_EQ(legend->getImageCoor(), rectText(10, 20, 10 + w - 1, secondRow + r.height + 10));
  LegendBox *fits;
  Chart d = chartWithKeys(false, &fits);
  fits->setSize(w + 1, 0);
  d->makeChart3();
  EXPECT_EQ(fits->getImageCoor(2), keyRect(oneRowEnd - 15 - r.text[2].width, 30, r.text[2]));
}

TEST(Legend, VerticalLayoutAndEmptyLegends) {
  const Row r = measureKeys();
  LegendBox *legend;
  Chart c = chartWithKeys(true, &legend);
  c->makeChart3();
  int widest = 0;
  for (int i = 0; i < 3; ++i) {
    const int y = 30 + i * (r.height + 2);
    EXPECT_EQ(legend->getImageCoor(i), keyRect(20, y, r.text[i]));
    widest = std::max(widest, r.text[i].width + 15);
  }
  // No extra pixel in the width; the height drops the last row gap.
  const int w = 20 + widest, h = 10 + 3 * (r.height + 2) - 2 + 10 + 1;
  EXPECT_EQ(legend->getImageCoor(), rectText(10, 20, 10 + w - 1, 20 + h - 1));

  for (bool vertical : {true, false}) {
    Chart e = makeChart(100, 100);
    LegendBox *empty = e->addLegend(5, 6, vertical, nullptr, 10);
    e->makeChart3();
    // Vertical: left + right wide; horizontal: one pixel more. Both are
    // top + bottom + 1 high.
    EXPECT_EQ(empty->getImageCoor(), rectText(5, 6, 5 + (vertical ? 20 : 21) - 1, 6 + 21 - 1));
    EXPECT_STREQ(empty->getHTMLImageMap("u", nullptr, nullptr), "");
  }
}

TEST(Legend, KeySizesAndSamples) {
  const TextSize dash = measure("Dash", "arial.ttf", 10);
  const TextSize box = measure("Box", "arial.ttf", 10);
  Chart c = makeChart(300, 200);
  LegendBox *legend = c->addLegend(10, 10, true, "arial.ttf", 10);
  // A key with a line width and a dash colour makes every key twice as wide;
  // a key without a line width stays a box.
  const int blueDash = c->dashLineColor(kBlue, 0x0505);
  legend->addKey("Dash", blueDash, 1, nullptr);
  legend->addKey("Box", kRed);
  Area symbol = makeArea(3, 3, kGreen);
  legend->addKey("Sym", kBlack, 1, symbol.get());
  DrawArea *a = c->makeChart3();

  const int rowDash = std::max(dash.height, 10), rowBox = std::max(box.height, 10);
  EXPECT_EQ(legend->getImageCoor(0), keyRect(20, 20, dash, 20));
  const int boxY = 20 + rowDash + 2;
  EXPECT_EQ(legend->getImageCoor(1), keyRect(20, boxY, box, 20));
  const int symY = boxY + rowBox + 2;
  // The line runs through the middle of the sample (or of the text line when
  // that is taller); the box sample likewise.
  const auto lineY = [](int keyY, int lineHeight) {
    return lineHeight < 10 ? keyY + 5 : keyY + lineHeight / 2;
  };
  const int dashY = lineY(20, dash.lineHeight);
  EXPECT_EQ(a->getPixel(20, dashY), kBlue);   // dash on
  EXPECT_EQ(a->getPixel(26, dashY), kWhite);  // gap
  EXPECT_EQ(a->getPixel(30, dashY), kBlue);   // on again
  const int sampleTop = box.lineHeight < 10 ? boxY : boxY + (box.lineHeight - 10) / 2;
  for (int y = sampleTop; y < sampleTop + 10; ++y) {
    EXPECT_EQ(a->getPixel(20, y), kRed);
    EXPECT_EQ(a->getPixel(39, y), kRed);
  }
  EXPECT_EQ(a->getPixel(40, sampleTop + 5), kWhite);  // the gap before the text
  // The symbol is merged centred on the line's middle.
  const int symLine = lineY(symY, measure("Sym", "arial.ttf", 10).lineHeight);
  EXPECT_EQ(a->getPixel(30, symLine - 1), kGreen);
  EXPECT_EQ(a->getPixel(29, symLine + 1), kGreen);
  EXPECT_EQ(a->getPixel(21, symLine), kBlack);
  EXPECT_EQ(a->getPixel(21, symLine - 1), kWhite);

  // Without a special colour or symbol, a line width alone keeps box keys;
  // setKeySize overrides the automatic sizes.
  Chart d = makeChart(300, 200);
  LegendBox *plain = d->addLegend(0, 0, false, "arial.ttf", 10);
  plain->addKey("Box", kGreen, 3, nullptr);
  plain->setKeySize(14, 8, 3);
  d->makeChart3();
  EXPECT_EQ(plain->getImageCoor(0), keyRect(10, 10, box, 14, 8, 3));
  // Keys added after layout are neither placed nor drawn.
  plain->addKey("Late", kRed);
  EXPECT_STREQ(plain->getImageCoor(1), "");
}

TEST(Legend, EdgeColourAndImageMap) {
  // Edge -1: the line colour for a vertical legend, none for a horizontal one.
  for (bool vertical : {true, false}) {
    Chart c = makeChart(100, 100);
    LegendBox *legend = c->addLegend(4, 4, vertical, nullptr, 10);
    legend->setBackground(Transparent, -1, 0);
    EXPECT_EQ(c->makeChart3()->getPixel(4, 4), vertical ? kBlack : kWhite);
  }
  LegendBox *legend;
  Chart c = chartWithKeys(true, &legend);
  c->layoutKeys[1].first = "B&B \"2\"";
  c->makeChart3();
  const std::string key1 = legend->getImageCoor(1);
  const std::string map = legend->getHTMLImageMap("legend.php", nullptr, "title='{dataSetName}'");
  EXPECT_NE(map.find("<area " + key1 +
                     " title='B&amp;B &quot;2&quot;' href=\"legend.php?dataSet=1&dataSetName="
                     "B%26B%20%222%22\">\n"),
            std::string::npos)
      << map;
  EXPECT_EQ(std::count(map.begin(), map.end(), '\n'), 3);
  EXPECT_NE(map.find("<area " + std::string(legend->getImageCoor(2)) +
                     " title='Gamma' href=\"legend.php?dataSet=2&dataSetName=Gamma\">\n"),
            std::string::npos);
  // A query of its own, joined with "&" to a URL that has a "?".
  std::string keys[3];
  for (int i = 0; i < 3; ++i) keys[i] = legend->getImageCoor(i);
  EXPECT_EQ(std::string(legend->getHTMLImageMap("l?a=1", "k={dataSet}", nullptr)),
            "<area " + keys[0] + " href=\"l?a=1&k=0\">\n<area " + keys[1] +
                " href=\"l?a=1&k=1\">\n<area " + keys[2] + " href=\"l?a=1&k=2\">\n");
}
