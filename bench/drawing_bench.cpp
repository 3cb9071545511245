// Drawing primitives against the floor of writing the same number of pixels
// with std::fill, measured in the same run. Inputs are seeded, so every run
// draws the same scene.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

#include "quorvane.h"

namespace {

constexpr int kWidth = 600;
constexpr int kHeight = 400;

DrawArea *makeArea() {
  DrawArea *a = DrawArea::create();
  a->setSize(kWidth, kHeight, 0xFFFFFF);
  return a;
}

// The floor: a plain store of n pixels.
void BM_FloorFill(benchmark::State &state) {
  std::vector<uint32_t> pixels(static_cast<size_t>(kWidth) * kHeight);
  const size_t n = static_cast<size_t>(state.range(0));
  uint32_t v = 0;
  for (auto _ : state) {
    std::fill(pixels.begin(), pixels.begin() + static_cast<ptrdiff_t>(n), ++v);
    benchmark::DoNotOptimize(pixels.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(n));
}
BENCHMARK(BM_FloorFill)->Arg(kWidth * kHeight);

void BM_SetBgColor(benchmark::State &state) {
  DrawArea *a = makeArea();
  int c = 0;
  for (auto _ : state) a->setBgColor(++c & 0xFFFFFF);
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
  a->destroy();
}
BENCHMARK(BM_SetBgColor);

void BM_RandomLines(benchmark::State &state) {
  DrawArea *a = makeArea();
  std::mt19937 rng(1);
  std::uniform_int_distribution<int> x(0, kWidth - 1), y(0, kHeight - 1);
  std::vector<int> coords(4000);
  for (size_t i = 0; i < coords.size(); i += 2) {
    coords[i] = x(rng);
    coords[i + 1] = y(rng);
  }
  const int width = static_cast<int>(state.range(0));
  for (auto _ : state)
    for (size_t i = 0; i < coords.size(); i += 4)
      a->line(coords[i], coords[i + 1], coords[i + 2], coords[i + 3], 0x204080, width);
  state.SetItemsProcessed(state.iterations() * 1000);
  a->destroy();
}
BENCHMARK(BM_RandomLines)->Arg(1)->Arg(3);

void BM_RandomPolygons(benchmark::State &state) {
  DrawArea *a = makeArea();
  std::mt19937 rng(2);
  std::uniform_int_distribution<int> x(0, kWidth - 1), y(0, kHeight - 1);
  std::vector<int> xs(800), ys(800);
  for (size_t i = 0; i < xs.size(); ++i) {
    xs[i] = x(rng);
    ys[i] = y(rng);
  }
  for (auto _ : state)
    for (size_t i = 0; i < xs.size(); i += 8)
      a->polygon(&xs[i], &ys[i], 8, 0x000000, 0x40C040);
  state.SetItemsProcessed(state.iterations() * 100);
  a->destroy();
}
BENCHMARK(BM_RandomPolygons);

void BM_SectorsOfOneEllipse(benchmark::State &state) {
  DrawArea *a = makeArea();
  for (auto _ : state)
    for (int i = 0; i < 100; ++i)
      a->sector(300, 200, 150, 150, i * 3.6, (i + 1) * 3.6, 0x000000, 0x3060C0 + i);
  state.SetItemsProcessed(state.iterations() * 100);
  a->destroy();
}
BENCHMARK(BM_SectorsOfOneEllipse);

void BM_GradientRect(benchmark::State &state) {
  DrawArea *a = makeArea();
  const int gradient = a->gradientColor(0, 0, kWidth - 1, kHeight - 1, 0x2040C0, 0xFFFFFF);
  for (auto _ : state) a->rect(-1, -1, kWidth, kHeight, Transparent, gradient, 0);
  state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
  a->destroy();
}
BENCHMARK(BM_GradientRect);

}  // namespace

BENCHMARK_MAIN();
