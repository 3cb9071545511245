// Text boxes: placement from the laid-out text size for automatic and fixed
// sizes and every alignment, margins, bevels, the empty text, edge colours,
// and titles placed by alignment.
#include <algorithm>
#include <climits>

#include "chart/text_box.h"
#include "chart_test_util.h"

using namespace charttest;
using quorvane::placeTextBox;
using quorvane::TextBoxData;
using quorvane::TextBoxGeometry;

namespace {

TextBoxData boxAt(int x, int y, int alignment, int width = 0, int height = 0) {
  TextBoxData b;
  b.x = x;
  b.y = y;
  b.alignment = alignment;
  b.width = width;
  b.height = height;
  return b;
}

void expectGeometry(const TextBoxGeometry &g, int x, int y, int w, int h, int tx, int ty) {
  EXPECT_EQ(g.x, x);
  EXPECT_EQ(g.y, y);
  EXPECT_EQ(g.width, w);
  EXPECT_EQ(g.height, h);
  EXPECT_EQ(g.textX, tx);
  EXPECT_EQ(g.textY, ty);
}

}  // namespace

TEST(TextBox, AutomaticSizeAtEveryAlignment) {
  // A 40 x 12 text at 8 points: margins 4 at the sides, 2 at top and bottom;
  // the box is 48 x 16 and the position is the point its alignment names.
  expectGeometry(placeTextBox(boxAt(100, 50, 5), 40, 12), 76, 42, 48, 16, 100, 50);
  const int boxX[3] = {100, 76, 53};  // left, centre, right column
  const int textX[3] = {104, 100, 96};
  const int boxY[3] = {35, 42, 50};   // bottom, middle, top row
  const int textY[3] = {48, 50, 52};
  for (int a = 1; a <= 9; ++a) {
    SCOPED_TRACE(a);
    const int col = (a - 1) % 3, row = (a - 1) / 3;
    expectGeometry(placeTextBox(boxAt(100, 50, a), 40, 12), boxX[col], boxY[row], 48, 16,
                   textX[col], textY[row]);
  }
  // Any other alignment acts as top-left.
  for (int a : {0, 10, -3})
    expectGeometry(placeTextBox(boxAt(100, 50, a), 40, 12), 100, 50, 48, 16, 104, 52);
}

TEST(TextBox, FixedSizeAlignsTheTextInside) {
  const int textX[3] = {14, 40, 65};  // 10 + 4; + (60 - 8) / 2; + 60 - 8 - 1
  const int textY[3] = {47, 35, 22};  // 20 + 30 - 1 - 2; 22 + (30 - 4) / 2; 20 + 2
  for (int a = 1; a <= 9; ++a) {
    SCOPED_TRACE(a);
    const int col = (a - 1) % 3, row = (a - 1) / 3;
    expectGeometry(placeTextBox(boxAt(10, 20, a, 60, 30), 40, 12), 10, 20, 60, 30, textX[col],
                   textY[row]);
  }
  // A fixed width with an automatic height, and the reverse.
  expectGeometry(placeTextBox(boxAt(10, 20, 3, 60, 0), 40, 12), 10, 5, 60, 16, 65, 18);
  expectGeometry(placeTextBox(boxAt(10, 20, 6, 0, 30), 40, 12), -37, 20, 48, 30, 6, 35);
}

TEST(TextBox, MarginsAndBevel) {
  // Raised effect 2 (or -2) adds 2 to each margin.
  for (int raised : {2, -2}) {
    TextBoxData b = boxAt(100, 50, 5);
    b.raisedEffect = raised;
    expectGeometry(placeTextBox(b, 40, 12), 74, 40, 52, 20, 100, 50);
  }
  // setMargin(0): the text against the box edges.
  TextBoxData tight = boxAt(10, 20, 7, 60, 30);
  tight.marginLeft = tight.marginRight = tight.marginTop = tight.marginBottom = 0;
  expectGeometry(placeTextBox(tight, 40, 12), 10, 20, 60, 30, 10, 20);
  tight.alignment = 3;
  expectGeometry(placeTextBox(tight, 40, 12), 10, 20, 60, 30, 69, 49);
  tight.width = tight.height = 0;
  expectGeometry(placeTextBox(tight, 40, 12), -29, 9, 40, 12, 10, 20);
  // Automatic margins: half the font width at the sides, a quarter of the
  // height at top and bottom; a size not above 0 takes the other one.
  TextBoxData wide;
  wide.fontHeight = 8;
  wide.fontWidth = 12.9;
  auto m = quorvane::marginsOf(wide);
  EXPECT_EQ(m.left, 6);  // (12 + 1) / 2
  EXPECT_EQ(m.right, 6);
  EXPECT_EQ(m.top, 2);   // (8 + 2) / 4
  EXPECT_EQ(m.bottom, 2);
  wide.fontHeight = 0;
  wide.fontWidth = 9;
  m = quorvane::marginsOf(wide);
  EXPECT_EQ(m.left, 5);
  EXPECT_EQ(m.top, 2);
  wide.marginLeft = -3;  // only -1 is automatic
  wide.marginBottom = 7;
  wide.raisedEffect = 1;
  m = quorvane::marginsOf(wide);
  EXPECT_EQ(m.left, -2);
  EXPECT_EQ(m.right, 6);
  EXPECT_EQ(m.bottom, 8);
  // Hostile numbers saturate instead of overflowing.
  TextBoxData huge = boxAt(INT_MAX, INT_MIN, 5);
  huge.fontHeight = 1e300;
  const TextBoxGeometry g = placeTextBox(huge, INT_MAX, INT_MAX);
  EXPECT_EQ(g.width, INT_MAX);
  EXPECT_EQ(g.textX, INT_MAX);
}

TEST(TextBox, DrawnBoxFollowsTheLaidOutText) {
  Chart c = makeChart(200, 100);
  TextBox *empty = c->addText(20, 20, "", "arial.ttf", 10, kBlack, 7, 0, false);
  empty->setBackground(kRed, kBlue, 0);
  TextBox *box = c->addText(100, 50, "Box", "arial.ttf", 10, kBlack, 5, 0, false);
  box->setBackground(kRed, -1, 0);
  TextBox *edged = c->addText(5, 95, "Edge", "arial.ttf", 10, kBlack, 1, 0, false);
  edged->setBackground(kRed, kBlue, 0);
  // Before drawing an automatic box reports its position with size 0.
  EXPECT_EQ(box->getImageCoor(), rectText(100, 50, 99, 49));
  DrawArea *a = c->makeChart3();

  // The empty text draws nothing, its background included.
  EXPECT_EQ(a->getPixel(20, 20), kWhite);
  EXPECT_EQ(a->getPixel(25, 25), kWhite);
  // Sizes come from the text laid out in the box's font; margins 5 and 3 at
  // 10 points. The edge is the fill colour when -1.
  const TextSize t = measure("Box", "arial.ttf", 10);
  const int w = 10 + t.width, h = 6 + t.height;
  const int x = 100 - 5 - t.width / 2, y = 50 - 3 - t.height / 2;
  EXPECT_EQ(box->getImageCoor(), rectText(x, y, x + w - 1, y + h - 1));
  EXPECT_EQ(a->getPixel(x, y), kRed);
  EXPECT_EQ(a->getPixel(x + w - 1, y + h - 1), kRed);
  EXPECT_EQ(a->getPixel(x - 1, y), kWhite);
  EXPECT_EQ(a->getPixel(x + w, y + h - 1), kWhite);
  // The text is drawn inside the box, within the margins.
  int inkMinX = INT_MAX, inkMaxX = INT_MIN;
  for (int py = y; py < y + h; ++py)
    for (int px = x; px < x + w; ++px)
      if (a->getPixel(px, py) != kRed) {
        inkMinX = std::min(inkMinX, px);
        inkMaxX = std::max(inkMaxX, px);
        EXPECT_GE(py, y + 3);
        EXPECT_LT(py, y + h - 3);
      }
  EXPECT_GE(inkMinX, x + 5);
  EXPECT_LE(inkMaxX, x + w - 6);
  EXPECT_LT(inkMinX, inkMaxX);
  // An explicit edge colour; alignment 1 puts the bottom-left at (5, 95).
  const TextSize e = measure("Edge", "arial.ttf", 10);
  EXPECT_EQ(edged->getImageCoor(), rectText(5, 95 - 5 - e.height, 5 + 9 + e.width, 95));
  EXPECT_EQ(a->getPixel(5, 95), kBlue);
  EXPECT_EQ(a->getPixel(6, 94), kRed);
}

TEST(TextBox, TitlesByAlignment) {
  const int W = 200, H = 100;
  const TextSize flat = measure("Title", "arialbd.ttf", 12);
  const TextSize turned = measure("Title", "arialbd.ttf", 12, 0, 90);
  // Margins at 12 points: 6 at the sides, 3 at top and bottom.
  const int flatHeight = 6 + flat.height, turnedWidth = 12 + turned.width;
  for (int a = 0; a <= 10; ++a) {
    SCOPED_TRACE(a);
    Chart c = makeChart(W, H);
    TextBox *title = c->addTitle2(a, "Title", nullptr, 12, kBlack, kRed, -1);
    c->setSize(W + 50, H + 50);  // the box keeps the size of the call
    c->makeChart3();
    std::string expected;
    switch (a) {
      case 1: case 2: case 3:
        expected = rectText(0, H - flatHeight, W - 1, H - 1);
        break;
      case 4:
        expected = rectText(0, 0, turnedWidth - 1, H - 1);
        break;
      case 5: {
        const int x = W / 2 - 6 - flat.width / 2, y = H / 2 - 3 - flat.height / 2;
        expected = rectText(x, y, x + 12 + flat.width - 1, y + flatHeight - 1);
        break;
      }
      case 6:
        expected = rectText(W - turnedWidth, 0, W - 1, H - 1);
        break;
      default:
        expected = rectText(0, 0, W - 1, flatHeight - 1);
    }
    EXPECT_EQ(title->getImageCoor(), expected);
  }
  // A right title's text is turned and centred on the box's middle row: the
  // text box is turned.width wide, its ink inside it and about the middle.
  Chart c = makeChart(W, H);
  c->addTitle2(6, "Title", nullptr, 12, kBlack, Transparent, Transparent);
  DrawArea *a = c->makeChart3();
  int minY = INT_MAX, maxY = INT_MIN, minX = INT_MAX;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x)
      if (a->getPixel(x, y) != kWhite) {
        minY = std::min(minY, y);
        maxY = std::max(maxY, y);
        minX = std::min(minX, x);
      }
  const int top = 3 + (H - 6) / 2 - turned.height / 2;
  EXPECT_GE(minY, top);
  EXPECT_LE(maxY, top + turned.height - 1);
  EXPECT_GE(minX, W - 6 - turned.width);
  EXPECT_GT(turned.height, turned.width);  // turned: taller than wide
  EXPECT_NEAR((minY + maxY) / 2.0, H / 2.0, 4.0);
}
