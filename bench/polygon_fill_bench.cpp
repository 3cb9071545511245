// Filled polygons with very many points against a floor measured in the same
// run: std::fill of as many pixels as the fill changes. A regular
// 1,000,000-gon filling a 2000 x 2000 area, aliased and smooth (mode 1), and
// an area chart of 65,000 points, whose area is one such polygon.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "floor_ratio_reporter.h"
#include "pixel_store_floor.h"
#include "quorvane.h"

namespace {

constexpr int kSide = 2000;
constexpr int kPoints = 1000000;
constexpr int kBackground = 0xFFFFFF;
constexpr int kFill = 0x3060C0;

struct Gon {
  std::vector<int> x, y;
};

const Gon &gon() {
  static const Gon g = [] {
    Gon out;
    out.x.resize(kPoints);
    out.y.resize(kPoints);
    const double c = kSide / 2.0, r = kSide / 2.0 - 2;
    for (int i = 0; i < kPoints; ++i) {
      const double a = 2 * M_PI * i / kPoints;
      out.x[static_cast<size_t>(i)] = static_cast<int>(std::lround(c + r * std::cos(a)));
      out.y[static_cast<size_t>(i)] = static_cast<int>(std::lround(c + r * std::sin(a)));
    }
    return out;
  }();
  return g;
}

DrawArea *makeArea(int shapeMode) {
  DrawArea *a = DrawArea::create();
  a->setSize(kSide, kSide, kBackground);
  a->setAntiAlias(shapeMode);
  return a;
}

// Pixels the fill changes, from one fill on a clean area.
int64_t changedPixels(int shapeMode) {
  DrawArea *a = makeArea(shapeMode);
  const Gon &g = gon();
  a->polygon(g.x.data(), g.y.data(), kPoints, kFill, kFill);
  int64_t count = 0;
  for (int y = 0; y < kSide; ++y)
    for (int x = 0; x < kSide; ++x) count += a->getPixel(x, y) != kBackground;
  a->destroy();
  return count;
}

void fillGon(benchmark::State &state, int shapeMode) {
  DrawArea *a = makeArea(shapeMode);
  const Gon &g = gon();
  for (auto _ : state) a->polygon(g.x.data(), g.y.data(), kPoints, kFill, kFill);
  state.counters["points"] = kPoints;
  a->destroy();
}

// An area chart of 65,000 points on a 1000 x 600 chart, drawn to a DrawArea.
void areaChart(benchmark::State &state) {
  constexpr int kValues = 65000;
  std::vector<double> data(kValues);
  for (int i = 0; i < kValues; ++i) data[static_cast<size_t>(i)] = 50 + 40 * std::sin(i * 0.001) + (i * 7919 % 13);
  for (auto _ : state) {
    XYChart *c = XYChart::create(1000, 600, 0xFFFFFF, -1);
    c->setPlotArea(60, 40, 900, 500, 0xFFFFFF, -1, -1, 0xD0D0D0, 0xD0D0D0);
    c->addAreaLayer(kValues, data.data(), 0x4080C0, "Values", 0);
    benchmark::DoNotOptimize(c->makeChart3());
    c->destroy();
  }
  state.counters["points"] = kValues;
}


}  // namespace

int main(int argc, char **argv) {
  benchmark::RegisterBenchmark("Floor/PolygonFill1M", runPixelStoreFloor, changedPixels(0))
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Floor/Smooth/PolygonFill1M", runPixelStoreFloor, changedPixels(1))
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("PolygonFill1M", fillGon, 0)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Smooth/PolygonFill1M", fillGon, 1)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("AreaChart65000", areaChart)->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  FloorRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
