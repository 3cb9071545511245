// Three scenes of the demo gallery's smooth pictures drawn twice, by Quorvane
// in smooth mode 1 (written as PNG and read back, so that the palette
// settling applies) and by cairo (default antialiasing, pixel centres at
// +0.5), then cropped where edges matter and written side by side, zoomed
// with nearest-neighbour, into the folder given first (Quorvane left, cairo
// right). Per scene it prints the mean and largest difference per channel
// over the crop and the ratio of ink (summed darkness), and, given the
// gallery's folder second, how many crop pixels differ from the gallery
// picture. The scenes hold the charts' shapes only: no text, grid or axes.
#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "chart/color_table.h"
#include "drawing/area_access.h"
#include "piechart/pie_math.h"
#include "quorvane.h"

namespace {

constexpr int kZoom = 7;
constexpr int kGap = 6;       // grey columns between the two crops
constexpr int kCaption = 16;  // rows above the crops for their names

// One shape as both renderers draw it. Points name pixels; a sector takes its
// centre from the first point.
struct Shape {
  enum Kind { Sector, Polygon, Polyline } kind;
  std::vector<int> xs, ys;
  int radius = 0;
  double a1 = 0, a2 = 0;  // sector angles, degrees clockwise from 12 o'clock
  int width = 1;          // polyline width
  int edge = 0, fill = 0;
};

struct Crop {
  int x, y, width, height;
};

struct Scene {
  const char *name;     // the written picture's stem
  const char *gallery;  // the gallery picture it is taken from
  int width, height;
  Crop crop;
  std::vector<Shape> shapes;
};

using Pixels = std::vector<uint32_t>;  // 0xRRGGBB, row by row

// The flat pie of pie_flat: the chart's own angle arithmetic, its automatic
// colours and black edges.
Scene pieScene() {
  using namespace quorvane::pie;
  const double values[] = {25, 18, 15, 12, 8, 30, 22};
  double total = 0;
  for (const double v : values) total += v;
  Scene s{"pie_beside_cairo", "pie_flat_smooth", 420, 300, {306, 104, 40, 44}, {}};
  double cur = 0;
  for (int i = 0; i < 7; ++i) {
    const double fraction = values[i] / total;
    const double next = cur + (kPi * fraction + kPi * fraction);
    Shape sh{Shape::Sector, {250}, {160}};
    sh.radius = 90;
    sh.a1 = radToDeg(normAngle(cur));
    sh.a2 = radToDeg(normAngle(next));
    sh.edge = quorvane::kDefaultColorTable[1];
    sh.fill = quorvane::kDefaultColorTable[8 + i];
    s.shapes.push_back(sh);
    cur = next;
  }
  return s;
}

const char *const kDays[] = {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat",
                             "Sun", "Mon", "Tue", "Wed", "Thu", "Fri"};

// The gallery's XY chart frame, for its layout.
XYChart *galleryChart() {
  XYChart *c = XYChart::create(560, 340, static_cast<int>(0xFFFF0000u), 0x000000);
  c->addTitle("title", "", 11, 0x000000, -1, -1);
  c->setPlotArea(70, 72, 420, 220, 0xFFFFFF, -1, -1, 0xD8D8D8, -1);
  c->addLegend(70, 28, false, "", 8)->setBackground(Transparent, Transparent, 0);
  c->xAxis()->setLabels(12, kDays);
  return c;
}

// The line of lines_gap_labels: 3 pixels wide, one stroke from gap to gap.
Scene lineScene() {
  const double data[] = {30, 42, 38, NoValue, 61, 58, 70, 66, 73, 80, 76, 88};
  XYChart *c = galleryChart();
  LineLayer *l = c->addLineLayer(12, data, 0x3366CC, "Visits", 0);
  l->setLineWidth(3);
  l->setDataLabelFormat("&value&");
  l->setDataLabelStyle("", 7, 0x202020, 0)->setAlignment(AlignBottomCentre);
  c->layout();
  Scene s{"line_beside_cairo", "lines_gap_labels_smooth", 560, 340, {88, 176, 64, 28}, {}};
  Shape run{Shape::Polyline, {}, {}};
  run.width = 3;
  run.edge = 0x3366CC;
  for (int i = 0; i <= 12; ++i) {
    if (i == 12 || data[i] == NoValue) {
      if (run.xs.size() > 1) s.shapes.push_back(run);
      run.xs.clear();
      run.ys.clear();
      continue;
    }
    run.xs.push_back(l->getXCoor(i));
    run.ys.push_back(l->getYCoor(data[i], true));
  }
  c->destroy();
  return s;
}

// The area of `areas`: its outline through the points and the zero
// crossings, filled and edged in the fill colour, then its top edged.
Scene areaScene() {
  const double swing[] = {12, 20, 8, -6, -14, -4, 10, 18, 6, -8, 4, 16};
  XYChart *c = galleryChart();
  AreaLayer *l = c->addAreaLayer(12, swing, 0x66AA66, "Balance", 0);
  l->setBorderColor(0x336633, 0);
  c->layout();
  const int zero = l->getYCoor(0, true);
  Scene s{"area_beside_cairo", "areas_smooth", 560, 340, {140, 172, 48, 50}, {}};
  Shape face{Shape::Polygon, {l->getXCoor(0)}, {zero}};
  face.edge = face.fill = 0x66AA66;
  Shape top{Shape::Polyline, {}, {}};
  top.edge = 0x336633;
  for (int i = 0; i < 12; ++i) {
    const int x = l->getXCoor(i), y = l->getYCoor(swing[i], true);
    if (i > 0 && (top.ys.back() - zero) * (y - zero) < 0) {
      const double t = double(top.ys.back() - zero) / (top.ys.back() - y);
      face.xs.push_back(
          static_cast<int>(std::floor(top.xs.back() + t * (x - top.xs.back()) + 0.5)));
      face.ys.push_back(zero);
    }
    face.xs.push_back(x);
    face.ys.push_back(y);
    top.xs.push_back(x);
    top.ys.push_back(y);
  }
  face.xs.push_back(top.xs.back());
  face.ys.push_back(zero);
  s.shapes = {face, top};
  c->destroy();
  return s;
}

void drawOurs(DrawArea &a, const Shape &sh) {
  const int n = static_cast<int>(sh.xs.size());
  switch (sh.kind) {
    case Shape::Sector:
      a.sector(sh.xs[0], sh.ys[0], sh.radius, sh.radius, sh.a1, sh.a2, sh.edge, sh.fill);
      break;
    case Shape::Polygon:
      a.polygon(sh.xs.data(), sh.ys.data(), n, sh.edge, sh.fill);
      break;
    case Shape::Polyline:
      quorvane::polyline(a, sh.xs.data(), sh.ys.data(), n, sh.edge, sh.width);
      break;
  }
}

// Drawn smooth, written as PNG and read back: the pixels a chart's PNG holds.
Pixels ours(const Scene &s, const std::string &dir) {
  DrawArea *a = DrawArea::create();
  a->setSize(s.width, s.height, 0xFFFFFF);
  a->setAntiAlias(1);
  for (const Shape &sh : s.shapes) drawOurs(*a, sh);
  const std::string file = dir + "/.scene.png";
  Pixels p;
  if (a->outPNG(file.c_str()) && a->loadPNG(file.c_str()))
    for (int y = 0; y < s.height; ++y)
      for (int x = 0; x < s.width; ++x)
        p.push_back(static_cast<uint32_t>(a->getPixel(x, y)) & 0xFFFFFF);
  std::remove(file.c_str());
  a->destroy();
  return p;
}

void setColor(cairo_t *cr, int rgb) {
  cairo_set_source_rgb(cr, (rgb >> 16 & 255) / 255.0, (rgb >> 8 & 255) / 255.0,
                       (rgb & 255) / 255.0);
}

// Pixel centres; an open path reaches half a pixel beyond its end points, as
// ours does, and ends butt there.
void traceCairo(cairo_t *cr, const Shape &sh) {
  std::vector<double> x, y;
  for (size_t i = 0; i < sh.xs.size(); ++i)
    x.push_back(sh.xs[i] + 0.5), y.push_back(sh.ys[i] + 0.5);
  if (sh.kind == Shape::Sector) {
    const double toCairo = M_PI / 180;
    cairo_move_to(cr, x[0], y[0]);
    cairo_arc(cr, x[0], y[0], sh.radius, (sh.a1 - 90) * toCairo, (sh.a2 - 90) * toCairo);
    cairo_close_path(cr);
    return;
  }
  if (sh.kind == Shape::Polyline) {
    auto reach = [&](size_t end, size_t from) {
      const double dx = x[end] - x[from], dy = y[end] - y[from], len = std::hypot(dx, dy);
      x[end] += dx / len * 0.5;
      y[end] += dy / len * 0.5;
    };
    reach(0, 1);
    reach(x.size() - 1, x.size() - 2);
  }
  cairo_move_to(cr, x[0], y[0]);
  for (size_t i = 1; i < x.size(); ++i) cairo_line_to(cr, x[i], y[i]);
  if (sh.kind == Shape::Polygon) cairo_close_path(cr);
}

Pixels viaCairo(const Scene &s) {
  cairo_surface_t *surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, s.width, s.height);
  cairo_t *cr = cairo_create(surface);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  for (const Shape &sh : s.shapes) {
    traceCairo(cr, sh);
    // A fill and its edge are two drawings in cairo.
    if (sh.kind != Shape::Polyline) {
      setColor(cr, sh.fill);
      cairo_fill_preserve(cr);
    }
    setColor(cr, sh.edge);
    cairo_set_line_width(cr, sh.width);
    cairo_stroke(cr);
  }
  cairo_surface_flush(surface);
  const auto *data = cairo_image_surface_get_data(surface);
  const int stride = cairo_image_surface_get_stride(surface);
  Pixels p;
  for (int y = 0; y < s.height; ++y)
    for (int x = 0; x < s.width; ++x)
      p.push_back(reinterpret_cast<const uint32_t *>(data + y * stride)[x] & 0xFFFFFF);
  cairo_destroy(cr);
  cairo_surface_destroy(surface);
  return p;
}

int channel(uint32_t rgb, int c) { return static_cast<int>(rgb >> (16 - 8 * c) & 255); }

void printFigures(const Scene &s, const Pixels &a, const Pixels &b) {
  double sum[3] = {0, 0, 0}, inkA = 0, inkB = 0;
  int most[3] = {0, 0, 0};
  const Crop &k = s.crop;
  for (int y = k.y; y < k.y + k.height; ++y)
    for (int x = k.x; x < k.x + k.width; ++x) {
      const uint32_t pa = a[y * s.width + x], pb = b[y * s.width + x];
      for (int c = 0; c < 3; ++c) {
        const int d = std::abs(channel(pa, c) - channel(pb, c));
        sum[c] += d;
        most[c] = std::max(most[c], d);
        inkA += 255 - channel(pa, c);
        inkB += 255 - channel(pb, c);
      }
    }
  const double n = double(k.width) * k.height;
  std::printf(
      "%-18s crop %dx%d at (%d,%d): mean |diff| R %.2f G %.2f B %.2f, max R %d G %d B %d, "
      "ink ours/cairo %.4f\n",
      s.name, k.width, k.height, k.x, k.y, sum[0] / n, sum[1] / n, sum[2] / n, most[0], most[1],
      most[2], inkA / inkB);
}

// Crop pixels that differ from the gallery's picture (its text, grid and axes
// are not in the scene).
void compareGallery(const Scene &s, const Pixels &a, const std::string &galleryDir) {
  DrawArea *g = DrawArea::create();
  const std::string file = galleryDir + "/" + s.gallery + ".png";
  if (g->loadPNG(file.c_str())) {
    int differ = 0;
    const Crop &k = s.crop;
    for (int y = k.y; y < k.y + k.height; ++y)
      for (int x = k.x; x < k.x + k.width; ++x)
        differ += (static_cast<uint32_t>(g->getPixel(x, y)) & 0xFFFFFF) != a[y * s.width + x];
    std::printf("%-18s %d of %d crop pixels differ from %s\n", s.name, differ, k.width * k.height,
                file.c_str());
  }
  g->destroy();
}

// The two crops side by side, each pixel a kZoom x kZoom block, drawn aliased.
bool writeBeside(const Scene &s, const Pixels &a, const Pixels &b, const std::string &dir) {
  const Crop &k = s.crop;
  const int side = k.width * kZoom;
  DrawArea *out = DrawArea::create();
  out->setSize(2 * side + kGap, k.height * kZoom + kCaption, 0xFFFFFF);
  out->rect(side, 0, side + kGap - 1, k.height * kZoom + kCaption - 1, 0x808080, 0x808080, 0);
  out->text("Quorvane, smooth mode 1", "", 9, 4, 1, 0x000000);
  out->text("cairo", "", 9, side + kGap + 4, 1, 0x000000);
  for (int y = 0; y < k.height; ++y)
    for (int x = 0; x < k.width; ++x) {
      const size_t i = static_cast<size_t>(k.y + y) * s.width + k.x + x;
      const int top = kCaption + y * kZoom;
      for (int half = 0; half < 2; ++half) {
        const int left = half * (side + kGap) + x * kZoom;
        const int rgb = static_cast<int>(half == 0 ? a[i] : b[i]);
        out->rect(left, top, left + kZoom - 1, top + kZoom - 1, rgb, rgb, 0);
      }
    }
  const bool ok = out->outPNG((dir + "/" + s.name + ".png").c_str());
  out->destroy();
  return ok;
}

}  // namespace

int main(int argc, char **argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: %s <output folder> [<gallery folder>]\n", argv[0]);
    return 2;
  }
  bool ok = true;
  for (const Scene &s : {pieScene(), lineScene(), areaScene()}) {
    const Pixels a = ours(s, argv[1]), b = viaCairo(s);
    if (a.size() != b.size()) return 1;
    printFigures(s, a, b);
    if (argc > 2) compareGallery(s, a, argv[2]);
    ok = writeBeside(s, a, b, argv[1]) && ok;
  }
  return ok ? 0 : 1;
}
