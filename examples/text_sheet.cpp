// The text sheet: fonts, sizes, angles, alignments, multi-line text and the
// anti-alias modes, written as text_sheet.png into the folder given on the
// command line. The code lies between its snippet markers, which the demo
// index shows beside the picture.
#include <png.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "quorvane.h"

namespace {

// Writes the area as an 8-bit RGBA PNG (alpha = 255 - transparency).
bool writePng(DrawArea *area, const std::string &path) {
  const int w = area->getWidth();
  const int h = area->getHeight();
  std::vector<unsigned char> rgba(static_cast<size_t>(w) * h * 4);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const unsigned v = static_cast<unsigned>(area->getPixel(x, y));
      unsigned char *p = &rgba[(static_cast<size_t>(y) * w + x) * 4];
      p[0] = (v >> 16) & 0xFF;
      p[1] = (v >> 8) & 0xFF;
      p[2] = v & 0xFF;
      p[3] = 255 - (v >> 24);
    }
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(w);
  image.height = static_cast<png_uint_32>(h);
  image.format = PNG_FORMAT_RGBA;
  return png_image_write_to_file(&image, path.c_str(), 0, rgba.data(), 0, nullptr) != 0;
}

constexpr int kInk = 0x202020;
constexpr int kGuide = 0xC0C0C0;
constexpr int kMarker = 0xD02020;

void cross(DrawArea *a, int x, int y) {
  a->hline(x - 4, x + 4, y, kMarker);
  a->vline(y - 4, y + 4, x, kMarker);
}

// Font names as charts give them; the Windows names resolve to their free
// substitutes, the last to the fallback font.
void fonts(DrawArea *a, int y) {
  const char *names[] = {"arial.ttf", "arialbd.ttf", "timesi.ttf", "courbd.ttf",
                         "DejaVuSans.ttf", "NimbusSans-Regular.pfb", "no-such-font.ttf"};
  for (const char *name : names) {
    std::string line = std::string(name) + ": The quick brown fox, 0123456789";
    a->text(line.c_str(), name, 12, 20, y, kInk);
    y += 22;
  }
}

void sizes(DrawArea *a, int y) {
  int x = 20;
  for (double size : {6.0, 8.0, 10.0, 12.0, 16.0, 24.0, 36.0}) {
    a->text2("Ag", "arial.ttf", 0, size, size, 0, 0, x, y, kInk, AlignBottomLeft);
    x += static_cast<int>(size * 2.2) + 10;
  }
  a->hline(20, x, y, kGuide);
}

// [snippet text_sheet]
// Labels turned by their angle, each centred on a wheel around (cx, cy).
void angles(DrawArea *a, int cx, int cy) {
  a->circle(cx, cy, 4, 4, kMarker, kMarker);
  for (int angle = 0; angle < 360; angle += 30) {
    const double radians = angle * 3.14159265358979 / 180;
    const int x = cx + static_cast<int>(std::lround(std::cos(radians) * 80));
    const int y = cy - static_cast<int>(std::lround(std::sin(radians) * 80));
    const std::string label = std::to_string(angle) + " degrees";
    a->text2(label.c_str(), "arial.ttf", 0, 10, 10, angle, 0, x, y, 0x2040A0, AlignCentre);
  }
}
// [/snippet]

void alignments(DrawArea *a, int x0, int y0) {
  for (int align = 1; align <= 9; ++align) {
    const int x = x0 + ((align - 1) % 3) * 120;
    const int y = y0 + (2 - (align - 1) / 3) * 50;
    TTFText *t = a->text3(("align " + std::to_string(align)).c_str(), "arial.ttf", 11);
    t->draw(x, y, kInk, static_cast<Alignment>(align));
    cross(a, x, y);
    a->close(t);
  }
}

void multiLine(DrawArea *a, int x, int y) {
  const char *text = "First line\nsecond, longer line\n\nafter an empty line";
  for (int i = 0; i < 3; ++i) {
    const int alignment[] = {AlignTopLeft, AlignTopCentre, AlignTopRight};
    const int ax = x + i * 170 + (i == 1 ? 75 : i == 2 ? 150 : 0);
    a->text2(text, "arial.ttf", 0, 10, 10, 0, 0, ax, y, kInk, alignment[i]);
    cross(a, ax, y);
  }
  a->text2("Turned lines\nstep sideways\nwith the baseline", "arial.ttf", 0, 11, 11, 30, 0,
           x + 560, y + 90, 0x208040, AlignCentre);
  cross(a, x + 560, y + 90);
  a->text2("V\nE\nR\nT", "arial.ttf", 0, 10, 10, 0, 1, x + 700, y, kInk, AlignTopLeft);
}

void antiAliasModes(DrawArea *a, int y) {
  const char *names[] = {"AntiAliasOff", "AntiAliasOn", "AntiAliasAuto"};
  for (int mode = 0; mode < 3; ++mode) {
    a->setAntiAliasText(mode);
    std::string small = std::string(names[mode]) + ": 10 pt, 45 degrees, 16 pt";
    a->text(small.c_str(), "arial.ttf", 10, 20, y + mode * 26, kInk);
    a->text2("45", "arial.ttf", 0, 10, 10, 45, 0, 330, y + mode * 26 + 14, kInk, AlignBottomLeft);
    a->text("16 pt", "arial.ttf", 16, 370, y + mode * 26 - 4, kInk);
  }
  a->setAntiAliasText(2);
}

}  // namespace

int main(int argc, char **argv) {
  const std::string dir = argc > 1 ? argv[1] : ".";
  DrawArea *a = DrawArea::create();
  if (a == nullptr) return 1;
  // [snippet text_sheet]
  a->setSize(900, 760, 0xFFFFFF);
  a->text("Quorvane text sheet", "arialbd.ttf", 18, 20, 12, kInk);
  fonts(a, 50);
  sizes(a, 260);
  angles(a, 720, 170);
  alignments(a, 40, 300);
  a->rect(40, 300, 280, 400, kGuide, static_cast<int>(0xFF000000u), 0);
  multiLine(a, 20, 470);
  antiAliasModes(a, 660);
  // [/snippet]
  std::puts("text_sheet.png");
  const bool ok = writePng(a, dir + "/text_sheet.png");
  a->destroy();
  return ok ? 0 : 1;
}
