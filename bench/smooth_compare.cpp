// Smooth drawing side by side with cairo and AGG: each draws the same
// figures black on white, and its coverage is compared with the exact figure
// (16 x 16 samples a pixel): mean and largest error over the pixels of the
// figure's edges, and for lines the ink per unit length between two cuts well
// away from the ends. Then Google Benchmark times fills and strokes for
// Quorvane and cairo. Built only where cairo and AGG are found; not a test.
#include <benchmark/benchmark.h>
#include <cairo.h>

#include <agg_conv_stroke.h>
#include <agg_path_storage.h>
#include <agg_pixfmt_rgba.h>
#include <agg_rasterizer_scanline_aa.h>
#include <agg_renderer_base.h>
#include <agg_renderer_scanline.h>
#include <agg_scanline_u.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <vector>

#include "drawing/area_access.h"
#include "quorvane.h"

namespace {

constexpr int kSize = 240;

struct P {
  double x, y;
};

// A figure in pixel coordinates (pixel (x, y) is the square from (x, y) to
// (x + 1, y + 1)): an open stroke of some width with butt ends and round
// joins, or a polygon filled and edged one pixel wide in one colour.
struct Figure {
  const char *name;
  std::vector<int> xs, ys;  // the pixels the coordinates name
  double width;
  bool isFilled;
  bool isLine;  // measure ink per unit length
};

std::vector<P> centres(const Figure &f) {
  std::vector<P> p;
  for (size_t i = 0; i < f.xs.size(); ++i) p.push_back({f.xs[i] + 0.5, f.ys[i] + 0.5});
  return p;
}

// The open path reaching half a pixel beyond its end points, as Quorvane's
// smooth lines do (the aliased line covers its end pixels whole).
std::vector<P> strokePath(const Figure &f) {
  std::vector<P> p = centres(f);
  if (f.isFilled) return p;
  auto reach = [](P &end, P from) {
    const double len = std::hypot(end.x - from.x, end.y - from.y);
    end = {end.x + (end.x - from.x) / len * 0.5, end.y + (end.y - from.y) / len * 0.5};
  };
  reach(p.front(), p[1]);
  reach(p.back(), p[p.size() - 2]);
  return p;
}

bool isInside(const Figure &f, const std::vector<P> &path, P p) {
  const double half = f.isFilled ? 0.5 : f.width / 2;
  const size_t n = path.size(), edges = f.isFilled ? n : n - 1;
  bool in = false;
  for (size_t i = 0; i < edges; ++i) {
    const P a = path[i], b = path[(i + 1) % n];
    // Within the segment's band, square ends; round joins at inner points.
    const double dx = b.x - a.x, dy = b.y - a.y, len = std::hypot(dx, dy);
    const double along = ((p.x - a.x) * dx + (p.y - a.y) * dy) / len;
    const double off = std::fabs((p.x - a.x) * dy - (p.y - a.y) * dx) / len;
    if (along >= 0 && along <= len && off <= half) return true;
    if ((f.isFilled || i > 0) && std::hypot(p.x - a.x, p.y - a.y) <= half) return true;
    if (f.isFilled && (a.y > p.y) != (b.y > p.y) &&
        p.x < a.x + (b.x - a.x) * (p.y - a.y) / (b.y - a.y))
      in = !in;
  }
  return in;
}

std::vector<int> exactCoverage(const Figure &f) {
  const std::vector<P> path = strokePath(f);
  std::vector<int> c(kSize * kSize);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      int n = 0;
      for (int j = 0; j < 16; ++j)
        for (int i = 0; i < 16; ++i) n += isInside(f, path, {x + (i + 0.5) / 16, y + (j + 0.5) / 16});
      c[y * kSize + x] = (n * 255 + 128) / 256;
    }
  return c;
}

// Coverage from red channels of black over white.
std::vector<int> fromRed(const uint32_t *argb, size_t strideWords) {
  std::vector<int> c(kSize * kSize);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) c[y * kSize + x] = 255 - ((argb[y * strideWords + x] >> 16) & 255);
  return c;
}

void drawOurs(DrawArea *a, const Figure &f) {
  const int n = static_cast<int>(f.xs.size());
  if (f.isFilled) a->polygon(f.xs.data(), f.ys.data(), n, 0x000000, 0x000000);
  else quorvane::polyline(*a, f.xs.data(), f.ys.data(), n, 0x000000, static_cast<int>(f.width));
}

std::vector<int> ours(const Figure &f) {
  DrawArea *a = DrawArea::create();
  a->setSize(kSize, kSize, 0xFFFFFF);
  a->setAntiAlias(2);
  drawOurs(a, f);
  std::vector<int> c(kSize * kSize);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) c[y * kSize + x] = 255 - ((a->getPixel(x, y) >> 16) & 255);
  a->destroy();
  return c;
}

void traceCairo(cairo_t *cr, const Figure &f) {
  const std::vector<P> p = strokePath(f);
  cairo_move_to(cr, p[0].x, p[0].y);
  for (size_t i = 1; i < p.size(); ++i) cairo_line_to(cr, p[i].x, p[i].y);
  if (f.isFilled) cairo_close_path(cr);
  cairo_set_line_width(cr, f.isFilled ? 1 : f.width);
  cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
  cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
  cairo_set_source_rgb(cr, 0, 0, 0);
  // A fill and its edge are two drawings in cairo.
  if (f.isFilled) cairo_fill_preserve(cr);
  cairo_stroke(cr);
}

std::vector<int> viaCairo(const Figure &f) {
  cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSize, kSize);
  cairo_t *cr = cairo_create(s);
  cairo_set_source_rgb(cr, 1, 1, 1);
  cairo_paint(cr);
  traceCairo(cr, f);
  cairo_surface_flush(s);
  std::vector<int> c = fromRed(reinterpret_cast<const uint32_t *>(cairo_image_surface_get_data(s)),
                               static_cast<size_t>(cairo_image_surface_get_stride(s)) / 4);
  cairo_destroy(cr);
  cairo_surface_destroy(s);
  return c;
}

std::vector<int> viaAgg(const Figure &f) {
  std::vector<uint32_t> pixels(kSize * kSize, 0xFFFFFFFFu);
  agg::rendering_buffer buffer(reinterpret_cast<agg::int8u *>(pixels.data()), kSize, kSize, kSize * 4);
  agg::pixfmt_bgra32 format(buffer);
  agg::renderer_base<agg::pixfmt_bgra32> base(format);
  agg::rasterizer_scanline_aa<> ras;
  agg::scanline_u8 sl;
  agg::path_storage path;
  const std::vector<P> p = strokePath(f);
  path.move_to(p[0].x, p[0].y);
  for (size_t i = 1; i < p.size(); ++i) path.line_to(p[i].x, p[i].y);
  if (f.isFilled) {
    path.close_polygon();
    ras.add_path(path);
    agg::render_scanlines_aa_solid(ras, sl, base, agg::rgba8(0, 0, 0));
  }
  agg::conv_stroke<agg::path_storage> stroke(path);
  stroke.width(f.isFilled ? 1 : f.width);
  stroke.line_cap(agg::butt_cap);
  stroke.line_join(agg::round_join);
  ras.reset();
  ras.add_path(stroke);
  agg::render_scanlines_aa_solid(ras, sl, base, agg::rgba8(0, 0, 0));
  return fromRed(pixels.data(), kSize);
}

struct Score {
  double meanError = 0;
  int maxError = 0;
  double inkPerLength = 0;
};

Score score(const Figure &f, const std::vector<int> &exact, const std::vector<int> &got) {
  Score s;
  int counted = 0;
  for (size_t i = 0; i < got.size(); ++i) {
    const int e = std::abs(got[i] - exact[i]);
    if (e == 0 && got[i] % 255 == 0) continue;
    s.meanError += e;
    s.maxError = std::max(s.maxError, e);
    ++counted;
  }
  s.meanError /= std::max(counted, 1);
  if (!f.isLine) return s;
  const double x1 = f.xs[0], y1 = f.ys[0], dx = f.xs[1] - x1, dy = f.ys[1] - y1;
  const double length = std::hypot(dx, dy);
  double ink = 0;
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) {
      const double along = ((x - x1) * dx + (y - y1) * dy) / length;
      if (along >= 0.25 * length && along < 0.75 * length) ink += got[y * kSize + x];
    }
  s.inkPerLength = ink / 255 / (0.5 * length);
  return s;
}

std::vector<Figure> figures() {
  std::vector<Figure> out;
  static char names[8][32];
  int k = 0;
  for (int w : {1, 3})
    for (double deg : {7.0, 30.0, 45.0, 80.0}) {
      const double t = deg * M_PI / 180;
      std::snprintf(names[k], sizeof names[k], "line %g deg w%d", deg, w);
      out.push_back({names[k++], {20, 20 + static_cast<int>(std::lround(190 * std::cos(t)))},
                     {20, 20 + static_cast<int>(std::lround(190 * std::sin(t)))}, double(w), false, true});
    }
  out.push_back({"zigzag w3", {10, 60, 80, 140, 150, 225}, {200, 30, 190, 40, 210, 20}, 3, false, false});
  out.push_back({"triangle + edge", {20, 220, 80}, {15, 70, 225}, 1, true, false});
  out.push_back({"concave + edge", {20, 220, 120, 200, 30}, {20, 30, 100, 215, 180}, 1, true, false});
  return out;
}

void printTable() {
  std::printf("%-18s | %-22s | %-22s | %-22s\n", "figure", "quorvane ink mean max",
              "cairo ink mean max", "agg ink mean max");
  for (const Figure &f : figures()) {
    const std::vector<int> exact = exactCoverage(f);
    std::printf("%-18s", f.name);
    for (const auto &draw : {ours, viaCairo, viaAgg}) {
      const Score s = score(f, exact, draw(f));
      std::printf(" | %6.3f %6.2f %4d    ", s.inkPerLength, s.meanError, s.maxError);
    }
    std::printf("\n");
  }
}

// Timed figures: a 64-point star filled, and a 200-point line 2 wide.
Figure star() {
  Figure f{"star", {}, {}, 1, true, false};
  for (int i = 0; i < 64; ++i) {
    const double r = i % 2 ? 50 : 110, t = i * M_PI / 32;
    f.xs.push_back(120 + static_cast<int>(std::lround(r * std::sin(t))));
    f.ys.push_back(120 - static_cast<int>(std::lround(r * std::cos(t))));
  }
  return f;
}

Figure wave() {
  Figure f{"wave", {}, {}, 2, false, false};
  for (int i = 0; i < 200; ++i) {
    f.xs.push_back(10 + i * 220 / 199);
    f.ys.push_back(120 + static_cast<int>(std::lround(90 * std::sin(i * 0.35))));
  }
  return f;
}

void BM_Ours(benchmark::State &state, Figure f) {
  DrawArea *a = DrawArea::create();
  a->setSize(kSize, kSize, 0xFFFFFF);
  a->setAntiAlias(2);
  for (auto _ : state) drawOurs(a, f);
  a->destroy();
}

void BM_Cairo(benchmark::State &state, Figure f) {
  cairo_surface_t *s = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, kSize, kSize);
  cairo_t *cr = cairo_create(s);
  for (auto _ : state) {
    traceCairo(cr, f);
    cairo_surface_flush(s);
  }
  cairo_destroy(cr);
  cairo_surface_destroy(s);
}

}  // namespace

int main(int argc, char **argv) {
  printTable();
  benchmark::RegisterBenchmark("fill_star/quorvane", BM_Ours, star());
  benchmark::RegisterBenchmark("fill_star/cairo", BM_Cairo, star());
  benchmark::RegisterBenchmark("stroke_wave/quorvane", BM_Ours, wave());
  benchmark::RegisterBenchmark("stroke_wave/cairo", BM_Cairo, wave());
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  return 0;
}
