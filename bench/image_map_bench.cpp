// Image map workloads: a line layer of 200,000 values split as 1 x 200,000,
// 100 x 2,000 and 10,000 x 20 (data sets x points), on a 600 x 400 chart.
//   Map/<shape>: the layer's map with one area per value, with the web
//   app's templates and the sums ("{accValue}", "{totalValue}"), against
//   Floor/Map/<shape>: creating, laying out and drawing the same chart.
// After the run each map is reported as a ratio to its drawing, and the map
// times of the three shapes against one another: the same values cost the
// same, so the slowest is held to at most 3 times the fastest.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "floor_ratio_reporter.h"
#include "quorvane.h"
#include "warm_heap.h"

namespace {

constexpr int kShapes[][2] = {{1, 200000}, {100, 2000}, {10000, 20}};
constexpr char kUrl[] = "detail.html";
constexpr char kExtra[] =
    "alt='{dataSetName} {xLabel}' title='{dataSetName}, {xLabel}: {value} "
    "({accValue} of {totalValue})'";

std::string shapeName(int sets, int points) {
  return std::to_string(sets) + "x" + std::to_string(points);
}

// The chart with its line layer, drawn; the caller destroys it.
XYChart *drawnChart(int sets, int points, LineLayer **layerOut) {
  XYChart *c = XYChart::create(600, 400, 0xFFFFFF, -1);
  c->setPlotArea(50, 30, 520, 330, 0xF8F8F8, -1, 0x000000, 0xC0C0C0, -1);
  LineLayer *layer = c->addLineLayer2(Layer::Overlay, 0);
  std::vector<double> values(static_cast<size_t>(points));
  for (int d = 0; d < sets; ++d) {
    for (int i = 0; i < points; ++i) values[static_cast<size_t>(i)] = (d * 7 + i * 13) % 100;
    const std::string name = "set " + std::to_string(d);
    layer->addDataSet(points, values.data(), -1, name.c_str());
  }
  c->makeChart3();
  if (layerOut != nullptr) *layerOut = layer;
  return c;
}

void drawing(benchmark::State &state, int sets, int points) {
  for (auto _ : state) {
    XYChart *c = drawnChart(sets, points, nullptr);
    benchmark::DoNotOptimize(c->getDrawArea());
    c->destroy();
  }
}

void imageMap(benchmark::State &state, int sets, int points) {
  LineLayer *layer = nullptr;
  XYChart *c = drawnChart(sets, points, &layer);
  size_t bytes = 0;
  for (auto _ : state) {
    const char *map = layer->getHTMLImageMap(kUrl, "", kExtra);
    bytes = map != nullptr ? std::char_traits<char>::length(map) : 0;
    benchmark::DoNotOptimize(map);
  }
  state.counters["mapBytes"] = static_cast<double>(bytes);
  c->destroy();
}

// The floor ratios, and then the map times of the shapes against one another.
class ImageMapReporter : public FloorRatioReporter {
 public:
  void ReportRuns(const std::vector<Run> &runs) override {
    FloorRatioReporter::ReportRuns(runs);
    // A shape's time: its median over repetitions, else its last run.
    for (const Run &run : runs) {
      if (run.error_occurred || run.run_name.function_name.rfind("Map/", 0) != 0) continue;
      const bool isMedian = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.run_type != Run::RT_Iteration && !isMedian) continue;
      Time &t = mapTimes_[run.run_name.function_name];
      if (isMedian || !t.isMedian) t = {run.GetAdjustedCPUTime(), isMedian};
    }
  }
  void Finalize() override {
    FloorRatioReporter::Finalize();
    double fastest = 0;
    double slowest = 0;
    for (const auto &[name, t] : mapTimes_) {
      fastest = fastest == 0 ? t.cpuTime : std::min(fastest, t.cpuTime);
      slowest = std::max(slowest, t.cpuTime);
    }
    if (mapTimes_.size() < 2 || fastest <= 0) return;
    const double spread = slowest / fastest;
    std::printf("%-32s %6.2f x fastest (at most 3)%s\n", "Map: slowest shape", spread,
                spread > 3 ? " OVER" : "");
  }

 private:
  struct Time {
    double cpuTime = 0;
    bool isMedian = false;
  };
  std::map<std::string, Time> mapTimes_;
};

}  // namespace

int main(int argc, char **argv) {
  keepHeapWarm();
  for (const auto &[sets, points] : kShapes) {
    const std::string name = shapeName(sets, points);
    benchmark::RegisterBenchmark(("Map/" + name).c_str(), imageMap, sets, points)
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(("Floor/Map/" + name).c_str(), drawing, sets, points)
        ->Unit(benchmark::kMillisecond);
  }
  benchmark::Initialize(&argc, argv);
  ImageMapReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
