// Drawing primitives against a floor measured in the same run: std::fill of
// as many pixels as the primitive touches. Every workload reports pixels per
// second, so its ratio to the floor is floor rate / workload rate. Inputs are
// seeded, so every run draws the same scene.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "pixel_store_floor.h"
#include "quorvane.h"

namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 400;
constexpr int kBackground = 0xFFFFFF;

DrawArea *makeArea() {
  DrawArea *a = DrawArea::create();
  a->setSize(kWidth, kHeight, kBackground);
  return a;
}

struct Workload {
  std::string name;
  std::function<void(DrawArea *)> setup;  // run once per area (special colours)
  std::vector<std::function<void(DrawArea *)>> parts;  // the primitives of one round
};

// Pixels one round touches: each primitive drawn alone on a clean area.
int64_t touchedPixels(const Workload &w) {
  DrawArea *a = makeArea();
  if (w.setup) w.setup(a);
  int64_t count = 0;
  for (const auto &part : w.parts) {
    a->setBgColor(kBackground);
    part(a);
    for (int y = 0; y < kHeight; ++y)
      for (int x = 0; x < kWidth; ++x) count += a->getPixel(x, y) != kBackground;
  }
  a->destroy();
  return count;
}

std::vector<Workload> workloads() {
  std::vector<Workload> list;
  list.push_back({"SetBgColor", nullptr, {[](DrawArea *a) { a->setBgColor(0x102030); }}});

  std::mt19937 rng(1);
  std::uniform_int_distribution<int> rx(0, kWidth - 1), ry(0, kHeight - 1);
  for (int width : {1, 3}) {
    Workload w{"Lines1000/width" + std::to_string(width), nullptr, {}};
    for (int i = 0; i < 1000; ++i) {
      const int x1 = rx(rng), y1 = ry(rng), x2 = rx(rng), y2 = ry(rng);
      w.parts.push_back([=](DrawArea *a) { a->line(x1, y1, x2, y2, 0x204080, width); });
    }
    list.push_back(w);
  }

  Workload polygons{"Polygons100x8", nullptr, {}};
  for (int i = 0; i < 100; ++i) {
    std::vector<int> xs(8), ys(8);
    for (int k = 0; k < 8; ++k) {
      xs[static_cast<size_t>(k)] = rx(rng);
      ys[static_cast<size_t>(k)] = ry(rng);
    }
    polygons.parts.push_back(
        [=](DrawArea *a) { a->polygon(xs.data(), ys.data(), 8, 0x000000, 0x40C040); });
  }
  list.push_back(polygons);

  // One ellipse cut into 100 sectors: the quarter table is built once.
  Workload sectors{"Sectors100r150", nullptr, {}};
  for (int i = 0; i < 100; ++i)
    sectors.parts.push_back([=](DrawArea *a) {
      a->sector(300, 200, 150, 150, i * 3.6, (i + 1) * 3.6, 0x000000, 0x3060C0 + i);
    });
  list.push_back(sectors);

  list.push_back({"GradientRect",
                  [](DrawArea *a) { a->gradientColor(0, 0, kWidth - 1, kHeight - 1, 0x2040C0, 0x102030); },
                  {[](DrawArea *a) {
                    a->rect(-1, -1, kWidth, kHeight, Transparent, static_cast<int>(0xFFFE0000u), 0);
                  }}});
  return list;
}

void runWorkload(benchmark::State &state, const Workload &w, int64_t pixels) {
  DrawArea *a = makeArea();
  if (w.setup) w.setup(a);
  for (auto _ : state)
    for (const auto &part : w.parts) part(a);
  state.SetItemsProcessed(state.iterations() * pixels);
  state.counters["pixels"] = static_cast<double>(pixels);
  a->destroy();
}


}  // namespace

int main(int argc, char **argv) {
  static const std::vector<Workload> list = workloads();
  for (const Workload &w : list) {
    const int64_t pixels = touchedPixels(w);
    benchmark::RegisterBenchmark(("Floor/" + w.name).c_str(), runPixelStoreFloor, pixels);
    benchmark::RegisterBenchmark(w.name.c_str(), runWorkload, std::cref(w), pixels);
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
