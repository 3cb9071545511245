// The demo gallery: one picture of every drawing primitive and special
// colour, written through the library's own writers into the folder given on
// the command line, each drawn aliased and again with smooth shapes as
// <name>_smooth.png; the aliased primitives picture also goes out as GIF, JPEG
// and WBMP under out/. The code of each picture lies between its snippet
// markers, which the demo index shows beside the picture.
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "quorvane.h"

namespace {

void label(const char *what, int x, int y) { std::printf("  %-34s at (%d, %d)\n", what, x, y); }

// [snippet shapes]
void drawShapes(DrawArea *a) {
  a->setSize(640, 420, 0xF4F4F4);
  std::puts("shapes.png");
  // Lines of widths 1 to 4, a fan of directions.
  for (int i = 0; i < 12; ++i) {
    const int dx[] = {60, 60, 50, 30, 0, -30, -50, -60, -60, -50, -30, 0};
    const int dy[] = {0, 20, 40, 55, 60, 55, 40, 20, 0, -30, -55, -60};
    a->line(80, 80, 80 + dx[i], 80 + dy[i], 0x2040C0, 1 + i % 4);
  }
  label("line fan, widths 1-4", 80, 80);
  a->hline(170, 290, 20, 0xC00000);
  a->vline(20, 140, 170, 0xC00000);
  label("hline and vline", 170, 20);
  a->rect(190, 30, 290, 70, 0x000000, 0x60A0E0, 4);
  a->rect(190, 90, 290, 130, 0x000000, 0x60A0E0, -4);
  label("raised and sunken rect", 190, 30);
  const int px[] = {320, 400, 380, 440, 330};
  const int py[] = {30, 20, 80, 130, 120};
  a->polygon(px, py, 5, 0x000000, 0x40C040);
  label("polygon", 320, 20);
  a->rect(470, 60, 530, 130, 0x000000, 0xE08020, 0);
  a->surface(470, 60, 530, 60, 20, 15, 0x000000, 0xF0A040);
  a->surface(530, 60, 530, 130, 20, 15, 0x000000, 0xA05010);
  label("3D bar from rect and surfaces", 470, 60);
  a->circle(90, 240, 60, 40, 0x000000, 0xE0E040);
  a->circle(200, 240, 40, 40, 0xC00000, Transparent);
  label("ellipse and circle outline", 90, 240);
  const int colors[] = {0xE04040, 0x40A040, 0x4060E0, 0xE0C040, 0xA040C0};
  const double cuts[] = {0, 70, 150, 200, 290, 360};
  for (int i = 0; i < 5; ++i) {
    a->cylinder(340, 240, 80, 40, cuts[i], cuts[i + 1], 0, 20, 0x000000,
                static_cast<int>((colors[i] >> 1) & 0x7F7F7F));
  }
  for (int i = 0; i < 5; ++i) a->sector(340, 240, 80, 40, cuts[i], cuts[i + 1], 0x000000, colors[i]);
  label("3D pie: cylinder walls and sectors", 340, 240);
  a->arc(520, 240, 60, 50, 300, 60, 0x000000);
  a->arc(520, 240, 50, 40, 120, 240, 0xC00000);
  label("arcs through the top and the bottom", 520, 240);
  // Fills look for exact colours, so the boundary runs along a column: it
  // stays sharp with smooth shapes, whose slanted edges are blends.
  a->rect(40, 330, 140, 400, 0x000000, Transparent, 0);
  a->line(90, 330, 90, 400, 0x000000, 1);
  a->fill(120, 340, 0x80C0FF);
  a->fill2(60, 390, 0xFF8080, 0x000000);
  label("replace fill and boundary fill", 40, 330);
  a->line(-500, 300, 1200, 420, 0x808080, 2);
  label("line clipped at both ends", 0, 335);
}
// [/snippet]

// [snippet colours]
void drawColours(DrawArea *a) {
  a->setSize(640, 300, 0xFFFFFF);
  std::puts("colours.png");
  const int dashes[] = {0x0505, 0x0202, 0x05050205, 0x0A050505};
  for (int i = 0; i < 4; ++i) {
    a->line(20, 20 + 16 * i, 300, 20 + 16 * i, a->dashLineColor(0x000000, dashes[i]), 1);
    a->line(20, 100 + 6 * i, 300, 140 + 6 * i, a->dashLineColor(0x0000C0, dashes[i]), 2);
  }
  label("dash patterns 0x0505 0x0202 0x05050205 0x0A050505", 20, 20);
  int checker[64];
  for (int i = 0; i < 64; ++i) checker[i] = ((i / 8) / 4 + (i % 8) / 4) % 2 ? 0xC04040 : 0xF0E0A0;
  a->rect(340, 20, 460, 140, 0x000000, a->patternColor(checker, 8, 8, 341, 21), 0);
  label("pattern fill", 340, 20);
  a->rect(480, 20, 620, 140, 0x000000, a->gradientColor(481, 0, 619, 0, 0x2040C0, 0xF0F0FF), 0);
  label("two-colour gradient", 480, 20);
  const int stops[] = {0, 0xC00000, 128, 0xF0F000, 256, 0x00A000};
  a->circle(100, 230, 80, 55, 0x000000, a->gradientColor2(stops, 30, 1, 180, 175));
  label("multi-stop gradient at 30 degrees", 100, 230);
  const int stripes[] = {0x4060E0, 0x4060E0, 0xFFFFFF, 0xFFFFFF};
  const int stripe = a->patternColor(stripes, 4, 1, 0, 0);
  a->rect(260, 190, 320, 280, 0x000000, stripe, 0);
  a->surface(260, 190, 320, 190, 25, 20, 0x000000, stripe);
  a->surface(320, 190, 320, 280, 25, 20, 0x000000, stripe);
  label("pattern sheared along 3D faces", 260, 190);
  a->rect(380, 170, 620, 290, Transparent, 0x00C000, 0);
  for (int i = 0; i < 4; ++i)
    a->rect(390 + 58 * i, 180, 440 + 58 * i, 280, 0x000000,
            static_cast<int>(0x00C00000 | (static_cast<unsigned>(i) * 0x50u << 24)), 0);
  label("blending at transparency 0, 0x50, 0xA0, 0xF0", 380, 170);
}
// [/snippet]

// [snippet composition]
void drawComposition(DrawArea *a) {
  a->setSize(600, 330, 0xE0E8F0);
  std::puts("composition.png");
  DrawArea *tileArea = DrawArea::create();
  tileArea->setSize(40, 30, 0xFFFFFF);
  tileArea->circle(20, 15, 14, 10, 0x000080, 0x8080FF);
  a->tile(tileArea, 160);
  label("tile at transparency 160", 0, 0);
  DrawArea *badge = DrawArea::create();
  badge->setSize(90, 60, 0xFFE080);
  badge->rect(0, 0, 89, 59, 0x804000, Transparent, 3);
  for (int align = 1; align <= 9; ++align) {
    const int x = 100 + ((align - 1) % 3) * 200;
    const int y = 270 - ((align - 1) / 3) * 105;
    a->merge(badge, x, y, align, 0);
    a->circle(x, y, 3, 3, 0xC00000, 0xC00000);
  }
  label("merge by the nine alignments (red dot: anchor)", 70, 40);
  badge->destroy();
  tileArea->destroy();
}
// [/snippet]

// A fresh area in the mode asked for, handed to draw and written as
// <stem>.png, or <stem>_smooth.png with smooth shapes; the area is returned
// for more output, or null when it could not be made or written.
DrawArea *drawPicture(const std::string &dir, const char *stem, bool isSmooth,
                      void (*draw)(DrawArea *)) {
  DrawArea *area = DrawArea::create();
  if (area == nullptr) return nullptr;
  if (isSmooth) area->setAntiAlias(DrawArea::SmoothQuarters);
  draw(area);
  const std::string file = dir + "/" + stem + (isSmooth ? "_smooth" : "") + ".png";
  if (!area->out(file.c_str())) {
    area->destroy();
    return nullptr;
  }
  return area;
}

}  // namespace

int main(int argc, char **argv) {
  const std::string dir = argc > 1 ? argv[1] : ".";
  bool ok = true;
  const struct {
    const char *stem;
    void (*draw)(DrawArea *);
  } pictures[] = {
      {"shapes", drawShapes}, {"colours", drawColours}, {"composition", drawComposition}};
  for (const auto &picture : pictures) {
    for (const bool isSmooth : {false, true}) {
      DrawArea *area = drawPicture(dir, picture.stem, isSmooth, picture.draw);
      if (area == nullptr) {
        ok = false;
        continue;
      }
      if (!isSmooth && picture.draw == drawShapes) {
        // [snippet shapes]
        // The same picture through each of the library's writers.
        const std::string outDir = dir + "/out";
        mkdir(outDir.c_str(), 0755);
        for (const char *name : {"shapes.png", "shapes.gif", "shapes.jpg", "shapes.wbmp"}) {
          ok = area->out((outDir + "/" + name).c_str()) && ok;
        }
        // [/snippet]
        std::printf("wrote out/shapes.png, .gif, .jpg and .wbmp\n");
      }
      area->destroy();
    }
  }
  std::printf("wrote shapes, colours and composition, aliased and smooth, as PNG to %s\n",
              dir.c_str());
  return ok ? 0 : 1;
}
