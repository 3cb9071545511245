// Chart-framework workloads against floors measured in the same run:
//   FormatNumber: 1,000,000 numbers formatted with "|2," against
//   snprintf("%.2f") of the same numbers.
//   ChartToPNG: a 600 x 400 chart with a title, a legend of ten keys and a
//   border, created, drawn and encoded as PNG, against the PNG encoding alone
//   of the same pixels.
// After the run each workload is reported as a ratio to its floor (time per
// iteration / floor time per iteration).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "chart/base_chart_impl.h"
#include "chart/number_format.h"
#include "chart_png_workloads.h"
#include "floor_ratio_reporter.h"
#include "warm_heap.h"
#include "quorvane.h"

namespace {

constexpr size_t kNumbers = 1000000;

// Seeded values spread over several magnitudes, half of them negative.
const std::vector<double> &numbers() {
  static const std::vector<double> values = [] {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> mantissa(-1.0, 1.0);
    std::uniform_int_distribution<int> exponent(0, 8);
    std::vector<double> v(kNumbers);
    for (double &x : v) {
      int e = exponent(rng);
      double scale = 1;
      while (e-- > 0) scale *= 10;
      x = mantissa(rng) * scale;
    }
    return v;
  }();
  return values;
}

void formatNumbers(benchmark::State &state) {
  const quorvane::NumberFormat format = quorvane::parseNumberFormat("|2,");
  std::string out;
  for (auto _ : state) {
    size_t bytes = 0;
    for (double v : numbers()) {
      out.clear();
      quorvane::appendNumber(out, v, format);
      bytes += out.size();
    }
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kNumbers));
}

void snprintfFloor(benchmark::State &state) {
  char buf[64];
  for (auto _ : state) {
    size_t bytes = 0;
    for (double v : numbers()) bytes += static_cast<size_t>(std::snprintf(buf, sizeof buf, "%.2f", v));
    benchmark::DoNotOptimize(bytes);
  }
  state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * kNumbers));
}

// A chart type with an empty body: the cost measured is the framework's.
class PlainChart final : public quorvane::BaseChartImpl<BaseChart> {
 public:
  static PlainChart *create(int width, int height) {
    auto *chart = new PlainChart;
    chart->core().create(width, height, static_cast<int>(0xFFFF0000u), 0x000000);
    return chart;
  }

 protected:
  void layoutChart() override {}
  void drawChartBody(DrawArea &) override {}
  bool appendImageMap(std::string &, const char *, const char *, const char *) override {
    return false;
  }
};

PlainChart *titledChart() {
  PlainChart *chart = PlainChart::create(600, 400);
  chart->addTitle("Monthly revenue by region", "arialbd.ttf", 14, 0x000000, 0xC0D8F0, -1);
  LegendBox *legend = chart->addLegend(40, 60, true, "arial.ttf", 10);
  for (int i = 0; i < 10; ++i)
    legend->addKey(("Region " + std::to_string(i + 1)).c_str(), static_cast<int>(0xFFFF0008u) + i);
  return chart;
}

}  // namespace

int main(int argc, char **argv) {
  keepHeapWarm();
  benchmark::RegisterBenchmark("Floor/FormatNumber", snprintfFloor)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("FormatNumber", formatNumbers)->Unit(benchmark::kMillisecond);
  registerChartToPng("ChartToPNG", titledChart);
  return runWithFloorRatios(argc, argv);
}
