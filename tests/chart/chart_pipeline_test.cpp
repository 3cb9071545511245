// The common chart pipeline: creation, the three one-way stages, outputs,
// canvas preparation with background images, drawing order and the border,
// and the colour-table operations seen through a chart.
#include "chart/color_table.h"
#include "chart_test_util.h"

using namespace charttest;
using testutil::Bytes;
using testutil::bytesOf;
using testutil::readFile;

namespace {

// A 3 x 2 picture, every pixel its own colour: row 0 red, green, blue, row 1
// black, white, grey; written as PNG into dir.
std::string writeAsymmetricImage(const ScratchDir &dir) {
  Area img = makeArea(3, 2, kWhite);
  const int colours[6] = {kRed, kGreen, kBlue, kBlack, kWhite, 0x808080};
  for (int i = 0; i < 6; ++i) img->pixel(i % 3, i / 3, colours[i]);
  const std::string path = dir.file("bg.png");
  EXPECT_TRUE(img->outPNG(path.c_str()));
  return path;
}

const int kImage[6] = {kRed, kGreen, kBlue, kBlack, kWhite, 0x808080};

}  // namespace

TEST(ChartPipeline, CreationDefaults) {
  // The table colour of entry 0 keeps the white default; no border.
  Chart c = makeChart(30, 20, static_cast<int>(0xFFFF0000u), Transparent);
  EXPECT_EQ(c->getColor(static_cast<int>(0xFFFF0000u)), kWhite);
  DrawArea *a = c->makeChart3();
  EXPECT_EQ(a->getWidth(), 30);
  EXPECT_EQ(a->getHeight(), 20);
  for (int v : pixels(a)) ASSERT_EQ(v, kWhite);
  // A plain colour becomes table entry 0; the edge colour draws the border.
  Chart d = makeChart(7, 5, 0x123456, kRed);
  EXPECT_EQ(d->getColor(static_cast<int>(0xFFFF0000u)), 0x123456);
  DrawArea *b = d->makeChart3();
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 7; ++x)
      EXPECT_EQ(b->getPixel(x, y), x == 0 || y == 0 || x == 6 || y == 4 ? kRed : 0x123456);
  // Size set after creation applies; the legend starts hidden.
  Chart e = makeChart(10, 10);
  EXPECT_EQ(e->getLegend(), nullptr);
  e->setSize(12, 4);
  EXPECT_EQ(e->makeChart3()->getWidth(), 12);
  EXPECT_EQ(e->getDrawArea()->getHeight(), 4);
}

TEST(ChartPipeline, StagesRunOnce) {
  Chart c = makeChart(11, 9);
  c->layout();
  c->layout();
  EXPECT_EQ(c->layoutCalls, 1);
  EXPECT_EQ(c->bodyCalls, 0);
  c->body = [](DrawArea &a) { a.rect(2, 2, 8, 6, kRed, kRed, 0); };
  const Bytes first = bytesOf(c->makeChart2(BaseChart::PNG));
  ASSERT_FALSE(first.empty());
  // Changes and additions after the first drawing never show.
  c->addTitle("late title", nullptr, 12, kBlack, kBlue, kBlue);
  c->addLine(0, 0, 10, 8, kBlue, 3);
  c->setBackground(kGreen, kBlack, 0);
  c->addLegend(0, 0, true, nullptr, 10);
  c->body = [](DrawArea &a) { a.rect(0, 0, 10, 8, kBlue, kBlue, 0); };
  EXPECT_EQ(bytesOf(c->makeChart2(BaseChart::PNG)), first);
  EXPECT_EQ(c->makeChart3()->getPixel(5, 4), kRed);
  EXPECT_EQ(c->makeChart3()->getPixel(0, 0), kWhite);
  EXPECT_EQ(c->layoutCalls, 1);
  EXPECT_EQ(c->bodyCalls, 1);
  // Drawing the same chart again from scratch gives the same bytes.
  Chart d = makeChart(11, 9);
  d->body = [](DrawArea &a) { a.rect(2, 2, 8, 6, kRed, kRed, 0); };
  EXPECT_EQ(bytesOf(d->makeChart2(BaseChart::PNG)), first);
}

TEST(ChartPipeline, OutputsEncodeTheOneDrawing) {
  ScratchDir dir;
  // makeChart("") and makeChart(null) write nothing but draw the chart.
  Chart c = makeChart(11, 9);
  c->body = [](DrawArea &a) { a.pixel(3, 3, kRed); };
  EXPECT_TRUE(c->makeChart(""));
  EXPECT_TRUE(c->makeChart(nullptr));
  EXPECT_EQ(c->bodyCalls, 1);
  c->addText(0, 0, "late", "arial.ttf", 10, kBlack, 7, 0, false);
  const Bytes png = bytesOf(c->makeChart2(BaseChart::PNG));
  Area expected = makeArea(11, 9, kWhite);
  expected->pixel(3, 3, kRed);
  EXPECT_EQ(png, bytesOf(expected->outPNG2()));
  // Two file names, one picture; an unknown ending is PNG.
  ASSERT_TRUE(c->makeChart(dir.file("a.png").c_str()));
  ASSERT_TRUE(c->makeChart(dir.file("b.bmp").c_str()));
  EXPECT_EQ(readFile(dir.file("a.png")), png);
  EXPECT_EQ(readFile(dir.file("b.bmp")), png);
  EXPECT_FALSE(c->makeChart(dir.file("no/such/dir.png").c_str()));
  // The format codes, and the out-parameter form.
  EXPECT_EQ(bytesOf(c->makeChart2(BaseChart::GIF)), bytesOf(expected->outGIF2()));
  EXPECT_EQ(bytesOf(c->makeChart2(BaseChart::JPG)), bytesOf(expected->outJPG2(80)));
  EXPECT_EQ(bytesOf(c->makeChart2(BaseChart::WMP)), bytesOf(expected->outWMP2()));
  EXPECT_EQ(bytesOf(c->makeChart2(7)), png);
  const char *data = nullptr;
  int len = 0;
  ASSERT_TRUE(c->makeChart2(BaseChart::GIF, &data, &len));
  EXPECT_EQ(Bytes(data, data + len), bytesOf(expected->outGIF2()));
  EXPECT_TRUE(c->makeChart2(BaseChart::PNG, nullptr, nullptr));
}

TEST(ChartPipeline, CanvasIsPreparedOnceAndLiesUnderTheBody) {
  Chart c = makeChart(11, 9, kBlue);
  DrawArea *canvas = c->getDrawArea();
  EXPECT_EQ(canvas->getPixel(10, 8), kBlue);
  canvas->pixel(0, 0, kGreen);   // the host draws under the body
  canvas->pixel(5, 5, kGreen);
  c->body = [](DrawArea &a) { a.pixel(5, 5, kRed); };
  c->setBackground(kBlack, Transparent, 0);  // canvas already painted
  EXPECT_EQ(c->makeChart3(), canvas);
  EXPECT_EQ(canvas->getPixel(0, 0), kGreen);
  EXPECT_EQ(canvas->getPixel(5, 5), kRed);
  EXPECT_EQ(canvas->getPixel(1, 1), kBlue);
}

TEST(ChartPipeline, BackgroundImagePlacement) {
  ScratchDir dir;
  const std::string image = writeAsymmetricImage(dir);
  // Top-left corner of the 3 x 2 image on an 11 x 9 chart, for placements 1..9.
  const int origin[10][2] = {{0, 0}, {0, 7}, {4, 7}, {8, 7}, {0, 3}, {4, 3},
                             {8, 3}, {0, 0}, {4, 0}, {8, 0}};
  for (int p = 1; p <= 9; ++p) {
    Chart c = makeChart(11, 9, 0x00C0C0C0);
    c->setBgImage(image.c_str(), p);
    DrawArea *a = c->makeChart3();
    int covered = 0;
    for (int y = 0; y < 9; ++y)
      for (int x = 0; x < 11; ++x) {
        const int ix = x - origin[p][0], iy = y - origin[p][1];
        const bool inside = ix >= 0 && ix < 3 && iy >= 0 && iy < 2;
        covered += inside;
        ASSERT_EQ(a->getPixel(x, y), inside ? kImage[iy * 3 + ix] : 0x00C0C0C0)
            << "placement " << p << " at " << x << "," << y;
      }
    EXPECT_EQ(covered, 6);
  }
  // The wallpaper tiles from (0, 0); so does any other placement value.
  for (bool wallpaper : {true, false}) {
    Chart c = makeChart(7, 5);
    if (wallpaper) c->setWallpaper(image.c_str());
    else c->setBgImage(image.c_str(), 0);
    DrawArea *a = c->makeChart3();
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 7; ++x) ASSERT_EQ(a->getPixel(x, y), kImage[(y % 2) * 3 + x % 3]);
  }
  // A file that cannot be read leaves the background colour alone.
  Chart missing = makeChart(7, 5, kBlue);
  missing->setWallpaper(dir.file("missing.png").c_str());
  for (int v : pixels(missing->makeChart3())) ASSERT_EQ(v, kBlue);
  Chart none = makeChart(7, 5, kBlue);
  none->setWallpaper(nullptr);
  for (int v : pixels(none->makeChart3())) ASSERT_EQ(v, kBlue);
}

TEST(ChartPipeline, DrawingOrderAndBorder) {
  // Body, then legend, then drawables by call order, then the border.
  Chart c = makeChart(11, 9);
  c->body = [](DrawArea &a) { a.rect(0, 0, 10, 8, kRed, kRed, 0); };
  LegendBox *legend = c->addLegend(1, 1, true, nullptr, 10);
  legend->setBackground(kGreen, kGreen, 0);
  legend->setSize(4, 4);  // (1, 1) - (4, 4)
  c->addLine(0, 2, 10, 2, kBlue, 1);
  c->addLine(0, 3, 10, 3, kBlack, 1);
  c->addLine(3, 0, 3, 8, 0x00FFFF00, 1);  // over both lines
  c->setBackground(static_cast<int>(0xFFFF0000u), 0x00FF00FF, 0);
  DrawArea *a = c->makeChart3();
  EXPECT_EQ(a->getPixel(1, 1), kGreen);         // legend over body
  EXPECT_EQ(a->getPixel(6, 6), kRed);           // body
  EXPECT_EQ(a->getPixel(2, 2), kBlue);          // line over legend
  EXPECT_EQ(a->getPixel(7, 3), kBlack);
  EXPECT_EQ(a->getPixel(3, 2), 0x00FFFF00);     // later line over earlier ones
  EXPECT_EQ(a->getPixel(3, 0), 0x00FF00FF);     // border over everything
  EXPECT_EQ(a->getPixel(0, 2), 0x00FF00FF);
  EXPECT_EQ(a->getPixel(10, 8), 0x00FF00FF);
  // A drawable that is hidden, or handed over twice, or null.
  Chart d = makeChart(5, 5);
  auto *line = static_cast<quorvane::LineImpl *>(d->addLine(0, 0, 4, 0, kRed, 1));
  line->setVisible(false);
  EXPECT_EQ(d->addDrawObj(line), line);  // listed twice, destroyed once
  LegendBox *legend2 = d->addLegend(0, 0, true, nullptr, 10);
  EXPECT_EQ(d->addDrawObj(legend2), legend2);  // destroyed as the legend only
  EXPECT_EQ(d->addDrawObj(nullptr), nullptr);
  EXPECT_EQ(d->makeChart3()->getPixel(2, 4), kWhite);
}

TEST(ChartPipeline, ColourTableThroughTheChart) {
  Chart c = makeChart(40, 30);
  EXPECT_EQ(c->getColor(static_cast<int>(0xFFFF0000u)), 0xFFFFFF);
  EXPECT_EQ(c->getColor(static_cast<int>(0xFFFF0008u)), 0xFF0000);
  EXPECT_EQ(c->getColor(static_cast<int>(0xFFFF0002u)), 0x000000);
  EXPECT_EQ(c->getColor(2), 2);  // not a table colour
  EXPECT_EQ(c->getColor(static_cast<int>(0xFFFF0018u)), Transparent);
  const int onlyEnd[] = {-1};
  c->setColors(onlyEnd);
  EXPECT_EQ(c->getColor(static_cast<int>(0xFFFF0000u)), 0xFFFFFF);
  const int data[] = {0x010101, 0x020202, -1};
  c->setColors2(static_cast<int>(0xFFFF0008u), data);
  EXPECT_EQ(c->getColor(static_cast<int>(0xFFFF0009u)), 0x020202);
  EXPECT_EQ(c->getColor(static_cast<int>(0xFFFF000Au)), 0x0000FF);
  c->setColors(data);
  EXPECT_EQ(c->getColor(static_cast<int>(0xFFFF0000u)), 0x010101);
  c->setColor(0x10000, 0x0A0B0C);  // only the low 16 bits name the entry
  EXPECT_EQ(c->getColor(static_cast<int>(0xFFFF0000u)), 0x0A0B0C);
  // The line entry is the legend's default edge: changing it recolours the
  // edge of a legend created before the change.
  Chart d = makeChart(40, 30);
  d->addLegend(2, 3, true, nullptr, 10);
  d->setColor(static_cast<int>(0xFFFF0001u), 0x0000FF);
  DrawArea *a = d->makeChart3();
  EXPECT_EQ(a->getPixel(2, 3), 0x0000FF);
  // The special-colour operations reach the chart's area.
  Chart e = makeChart(10, 10);
  const int dash = e->dashLineColor(kRed, 0x0101);
  EXPECT_EQ(dash, static_cast<int>(0xFFFE0000u));
  const int px[1] = {kGreen};
  EXPECT_EQ(e->patternColor(px, 1, 1, 0, 0), static_cast<int>(0xFFFE0001u));
  EXPECT_EQ(e->gradientColor(0, 0, 9, 0, kRed, kBlue), static_cast<int>(0xFFFE0002u));
  const int stops[] = {0, kRed, 255, kBlue};
  EXPECT_EQ(e->gradientColor2(stops, 0, 1, 0, 0), static_cast<int>(0xFFFE0003u));
  EXPECT_EQ(e->patternColor2("/no/such/file.png", 0, 0), static_cast<int>(0xFFFE0004u));
  EXPECT_EQ(e->getDrawArea()->getColorAt(static_cast<int>(0xFFFE0001u), 5, 5), kGreen);
  e->setTransparentColor(static_cast<int>(0xFFFF0000u));
}

TEST(ChartPipeline, ImageMapFromTheChartType) {
  Chart c = makeChart(10, 10);
  EXPECT_EQ(c->getHTMLImageMap("u", nullptr, nullptr), nullptr);  // nothing before layout
  c->layout();
  EXPECT_STREQ(c->getHTMLImageMap("u", nullptr, nullptr),
               "<area shape=\"rect\" coords=\"1,2,3,4\" href=\"u?item=0\">\n");
  EXPECT_STREQ(c->getHTMLImageMap("", nullptr, "a='{item}'"),
               "<area shape=\"rect\" coords=\"1,2,3,4\" a='0'>\n");
}
