// Chart-framework workloads against floors measured in the same run:
//   FormatNumber: 1,000,000 numbers formatted with "|2," against
//   snprintf("%.2f") of the same numbers.
//   ExpandLabel/<bytes>: a drawn label of "&value&" repeated to that size,
//   and an image-map template of "{value}" after an inserted label of
//   unclosed "{value|" repeated, expanded, against formatting as many numbers
//   alone. Expansion is linear when the ratio stays flat as the size grows.
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
#include <utility>
#include <vector>

#include "chart/base_chart_impl.h"
#include "chart/label_template.h"
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

std::string repeated(std::string_view piece, size_t bytes) {
  std::string out;
  while (out.size() + piece.size() <= bytes) out += piece;
  return out;
}

void expandDrawnLabel(benchmark::State &state) {
  const std::string label = repeated("&value&", static_cast<size_t>(state.range(0)));
  quorvane::LabelTemplate t;
  for (auto _ : state) {
    t.assign(label);
    t.replaceAmpersandNumber("&value", 1234.5, "");
    benchmark::DoNotOptimize(t.text().data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * label.size()));
}

// A hostile label: every "{value|" it holds looks for a "}" that only the
// host's template has.
void expandMapWithHostileLabel(benchmark::State &state) {
  const std::string label = repeated("{value|", static_cast<size_t>(state.range(0)));
  quorvane::LabelTemplate t;
  for (auto _ : state) {
    t.assign("label={label}&value={value}");
    t.replaceText("{label}", label);
    t.replaceNumber("{value", 1234.5);
    benchmark::DoNotOptimize(t.text().data());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * label.size()));
}

// Formatting one number per field of the drawn label, the least any
// expansion of it costs.
void formatFieldsFloor(benchmark::State &state) {
  const size_t fields = static_cast<size_t>(state.range(0)) / std::string_view("&value&").size();
  const quorvane::NumberFormat format = quorvane::parseNumberFormat("");
  std::string out;
  for (auto _ : state) {
    out.clear();
    for (size_t i = 0; i < fields; ++i) quorvane::appendNumber(out, 1234.5, format);
    benchmark::DoNotOptimize(out.data());
  }
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
  using Workload = void (*)(benchmark::State &);
  const std::pair<const char *, Workload> expansions[] = {
      {"ExpandLabel", expandDrawnLabel}, {"ExpandHostileMap", expandMapWithHostileLabel}};
  for (const auto &[name, workload] : expansions) {
    benchmark::RegisterBenchmark((std::string("Floor/") + name).c_str(), formatFieldsFloor)
        ->Arg(1 << 16)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);
    benchmark::RegisterBenchmark(name, workload)
        ->Arg(1 << 16)->Arg(1 << 20)->Unit(benchmark::kMicrosecond);
  }
  registerChartToPng("ChartToPNG", titledChart);
  return runWithFloorRatios(argc, argv);
}
