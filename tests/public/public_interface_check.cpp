// A program that sees only quorvane.h and links only libquorvane20.so: it
// creates an area, draws every shape and special colour through the
// published interface, and reads pixels back.
#include <cstdio>

#include "quorvane.h"

namespace {

int failures = 0;

void expect(bool ok, const char *what) {
  if (!ok) {
    std::fprintf(stderr, "FAILED: %s\n", what);
    ++failures;
  }
}

}  // namespace

int main() {
  expect(getVersion() == 0x02000000, "getVersion");
  DrawArea *area = DrawArea::create();
  expect(area != nullptr, "create");
  if (area == nullptr) return 1;
  expect(area->getPixel(0, 0) == 0x00FFFFFF, "a new area is one white pixel");
  area->setSize(200, 150, 0x000000FF);
  expect(area->getWidth() == 200 && area->getHeight() == 150, "setSize");
  expect(area->getPixel(199, 149) == 0x000000FF, "background");

  area->pixel(1, 1, 0xFF0000);
  expect(area->getPixel(1, 1) == 0xFF0000, "pixel");
  area->hline(10, 20, 5, 0x00FF00);
  expect(area->getPixel(15, 5) == 0x00FF00, "hline");
  area->vline(10, 20, 5, 0x00FF00);
  expect(area->getPixel(5, 15) == 0x00FF00, "vline");
  area->line(0, 30, 50, 30, 0xFF0000, 3);
  expect(area->getPixel(25, 29) == 0xFF0000 && area->getPixel(25, 31) == 0xFF0000, "thick line");
  area->rect(60, 10, 90, 40, 0x000000, 0xFFFF00, 2);
  expect(area->getPixel(60, 10) == 0x000000, "rect edge");
  const int xs[] = {100, 140, 120};
  const int ys[] = {10, 10, 40};
  area->polygon(xs, ys, 3, 0x000000, 0x00FFFF);
  expect(area->getPixel(120, 20) == 0x00FFFF, "polygon fill");
  area->surface(150, 40, 180, 40, 10, 10, 0x000000, 0xFF00FF);
  expect(area->getPixel(170, 35) == 0xFF00FF, "surface fill");
  area->circle(30, 100, 20, 15, 0x000000, 0xFF8000);
  expect(area->getPixel(30, 100) == 0xFF8000, "circle fill");
  expect(area->getPixel(10, 100) == 0x000000, "circle edge");
  area->sector(90, 100, 30, 30, 0, 90, 0x000000, 0x808080);
  expect(area->getPixel(100, 90) == 0x808080, "sector fill");
  expect(area->getPixel(80, 90) == 0x000000FF, "sector leaves the other quarters");
  area->arc(90, 100, 35, 35, 90, 180, 0xFF0000);
  expect(area->getPixel(125, 100) == 0xFF0000, "arc");
  area->cylinder(160, 90, 30, 15, 90, 270, 0, 20, 0x000000, 0x400000);
  expect(area->getPixel(160, 115) == 0x400000, "cylinder wall");
  area->fill(199, 0, 0x123456);
  expect(area->getPixel(199, 0) == 0x123456, "fill");

  const int dash = area->dashLineColor(0xFF0000, 0x0505);
  area->hline(0, 19, 148, dash);
  expect(area->getPixel(0, 148) == 0xFF0000 && area->getPixel(5, 148) == 0x123456, "dash");
  const int tilePixels[] = {0x111111, 0x222222, 0x333333, 0x444444};
  const int pattern = area->patternColor(tilePixels, 2, 2, 0, 0);
  area->pixel(3, 143, pattern);
  expect(area->getPixel(3, 143) == 0x444444, "pattern");
  const int gradient = area->gradientColor(0, 0, 100, 0, 0x000000, 0x0000FF);
  area->pixel(100, 140, gradient);
  expect(area->getPixel(100, 140) == 0x0000FF, "gradient");
  const int stops[] = {0, 0x000000, 256, 0xFFFFFF};
  const int gradient2 = area->gradientColor2(stops, 0, 1, 0, 0);
  expect(area->getColorAt(gradient2, 5, 0) == 0, "multi-stop gradient");

  DrawArea *small = DrawArea::create();
  small->setSize(4, 4, 0x00FF00);
  area->merge(small, 199, 149, 3, 0);
  expect(area->getPixel(196, 146) == 0x00FF00, "merge");
  area->tile(small, 255);
  expect(area->getPixel(0, 0) != 0x00FF00, "tile at full transparency draws nothing");
  small->destroy();
  area->destroy();
  if (failures == 0) std::puts("public interface: all checks passed");
  return failures == 0 ? 0 : 1;
}
