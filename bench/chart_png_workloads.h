// The two sides of a chart-to-PNG measurement, for any chart that a
// function makes: the whole chart (made, laid out, drawn, encoded as PNG in
// memory and destroyed) per iteration, with the PNG's size as the counter
// pngBytes, and its floor, the PNG encoding alone of the same drawn pixels.
// The same chart with smooth shapes is a workload of its own, set against the
// aliased one by the floor ratio reporter.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <string>

#include "quorvane.h"

template <class MakeChart>
void chartToPng(benchmark::State &state, MakeChart makeChart) {
  size_t bytes = 0;
  int lastBytes = 0;
  for (auto _ : state) {
    auto *chart = makeChart();
    lastBytes = chart->makeChart2(BaseChart::PNG).len;
    bytes += static_cast<size_t>(lastBytes);
    chart->destroy();
  }
  benchmark::DoNotOptimize(bytes);
  // Every iteration writes the same PNG; with threads, one chart's size.
  state.counters["pngBytes"] = benchmark::Counter(lastBytes, benchmark::Counter::kAvgThreads);
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

// The chart of makeChart with smooth shapes.
template <class MakeChart>
auto smoothly(MakeChart makeChart) {
  return [makeChart] {
    auto *chart = makeChart();
    chart->setAntiAlias(1);
    return chart;
  };
}

// Registers the workload twice: as name with its floor as above, and with
// smooth shapes as "Smooth/" + name with its own floor.
template <class MakeChart>
void registerChartToPngBothWays(const std::string &name, MakeChart makeChart) {
  registerChartToPng(name, makeChart);
  registerChartToPng("Smooth/" + name, smoothly(makeChart));
}
