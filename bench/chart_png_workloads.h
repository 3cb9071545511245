// The two sides of a chart-to-PNG measurement, for any chart that a
// function makes: the whole chart (made, laid out, drawn, encoded as PNG in
// memory and destroyed) per iteration, and its floor, the PNG encoding alone
// of the same drawn pixels.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>

#include "quorvane.h"

template <class MakeChart>
void chartToPng(benchmark::State &state, MakeChart makeChart) {
  size_t bytes = 0;
  for (auto _ : state) {
    auto *chart = makeChart();
    bytes += static_cast<size_t>(chart->makeChart2(BaseChart::PNG).len);
    chart->destroy();
  }
  benchmark::DoNotOptimize(bytes);
}

template <class MakeChart>
void pngOfChart(benchmark::State &state, MakeChart makeChart) {
  auto *chart = makeChart();
  DrawArea *area = chart->makeChart3();
  size_t bytes = 0;
  for (auto _ : state) bytes += static_cast<size_t>(area->outPNG2().len);
  benchmark::DoNotOptimize(bytes);
  chart->destroy();
}

// Registers the workload as name and its floor as "Floor/" + name.
template <class MakeChart>
void registerChartToPng(const std::string &name, MakeChart makeChart) {
  benchmark::RegisterBenchmark(("Floor/" + name).c_str(), pngOfChart<MakeChart>, makeChart)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark(name.c_str(), chartToPng<MakeChart>, makeChart)
      ->Unit(benchmark::kMillisecond);
}
