// Large layers: 1,000,000 points of each layer kind on a 1000 x 600 chart,
// made, laid out, drawn and mapped (the layer's image map with its default
// query) per iteration; stacked and side-by-side kinds have two data sets of
// 500,000 points each, and StackedArea2x1M two of 1,000,000. Every kind is
// held to linear cost, so a point costs about the same in each (the counter
// pointRate gives points a second).
//   LayerMap1M/<kind>: the image map alone of the same layer, drawn once
//   outside the timing.
//   AreaChart65000ToPNG: an area chart of 65,000 points made, drawn and
//   encoded as PNG, against Floor/AreaChart65000ToPNG, the PNG encoding alone
//   of the same pixels.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

#include "chart_png_workloads.h"
#include "floor_ratio_reporter.h"
#include "quorvane.h"
#include "warm_heap.h"

namespace {

constexpr int kPoints = 1000000;

// A wave with a little noise, some of it below zero so that areas cross
// the zero line and stacks run both ways.
std::vector<double> wave(int count, double phase) {
  std::vector<double> v(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i)
    v[static_cast<size_t>(i)] =
        40 * std::sin(i * 0.0007 + phase) + 15 + static_cast<double>(int64_t{i} * 7919 % 13);
  return v;
}

const std::vector<double> &series(int which) {
  static const std::vector<double> s[4] = {wave(kPoints, 0), wave(kPoints, 1), wave(kPoints, 2),
                                           wave(kPoints, 3)};
  return s[which];
}

XYChart *plot() {
  XYChart *c = XYChart::create(1000, 600, 0xFFFFFF, -1);
  c->setPlotArea(60, 40, 900, 500, 0xFFFFFF, -1, -1, 0xD0D0D0, 0xD0D0D0);
  return c;
}

enum class Type { Bar, Line, Area, HLOC };

struct Kind {
  const char *name;
  Type type;
  Layer::DataCombineMethod combine;
  int depth;
  int sets;
  bool hasSymbols;
  int pointsPerSet = kPoints;
};

const Kind kKinds[] = {
    {"Bar", Type::Bar, Layer::Overlay, 0, 1, false},
    {"Bar3D", Type::Bar, Layer::Overlay, 8, 1, false},
    {"StackedBar", Type::Bar, Layer::Stack, 0, 2, false, kPoints / 2},
    {"SideBar", Type::Bar, Layer::Side, 0, 2, false, kPoints / 2},
    {"Line", Type::Line, Layer::Overlay, 0, 1, false},
    {"LineSymbols", Type::Line, Layer::Overlay, 0, 1, true},
    {"Line3D", Type::Line, Layer::Overlay, 8, 1, false},
    {"Area", Type::Area, Layer::Overlay, 0, 1, false},
    {"StackedArea", Type::Area, Layer::Stack, 0, 2, false, kPoints / 2},
    {"StackedArea2x1M", Type::Area, Layer::Stack, 0, 2, false},
    {"Area3D", Type::Area, Layer::Overlay, 8, 1, false},
    {"HLOC", Type::HLOC, Layer::Overlay, 0, 4, false},
};

Layer *addLayer(XYChart *c, const Kind &kind) {
  if (kind.type == Type::HLOC)
    return c->addHLOCLayer(kPoints, series(0).data(), series(1).data(), series(2).data(),
                           series(3).data(), -1);
  Layer *layer = nullptr;
  if (kind.type == Type::Bar) layer = c->addBarLayer2(kind.combine, kind.depth);
  else if (kind.type == Type::Line) layer = c->addLineLayer2(kind.combine, kind.depth);
  else layer = c->addAreaLayer2(kind.combine, kind.depth);
  for (int d = 0; d < kind.sets; ++d) {
    DataSet *ds = layer->addDataSet(kind.pointsPerSet, series(d).data(), -1, "");
    if (kind.hasSymbols) ds->setDataSymbol(CircleSymbol, 7, -1, -1);
  }
  return layer;
}

void drawnAndMapped(benchmark::State &state, const Kind &kind) {
  size_t mapBytes = 0;
  for (auto _ : state) {
    XYChart *c = plot();
    Layer *layer = addLayer(c, kind);
    benchmark::DoNotOptimize(c->makeChart3());
    const char *map = layer->getHTMLImageMap("detail.html", "", "");
    mapBytes = map != nullptr ? std::strlen(map) : 0;
    c->destroy();
  }
  state.counters["mapBytes"] = static_cast<double>(mapBytes);
  const int points = kind.type == Type::HLOC ? kPoints : kind.sets * kind.pointsPerSet;
  state.counters["pointRate"] =
      benchmark::Counter(points, benchmark::Counter::kIsIterationInvariantRate);
}

void mapped(benchmark::State &state, const Kind &kind) {
  XYChart *c = plot();
  Layer *layer = addLayer(c, kind);
  benchmark::DoNotOptimize(c->makeChart3());
  size_t mapBytes = 0;
  for (auto _ : state) {
    const char *map = layer->getHTMLImageMap("detail.html", "", "");
    mapBytes = map != nullptr ? std::strlen(map) : 0;
  }
  c->destroy();
  state.counters["mapBytes"] = static_cast<double>(mapBytes);
}

XYChart *areaChart65000() {
  constexpr int kValues = 65000;
  static const std::vector<double> data = [] {
    std::vector<double> v(kValues);
    for (int i = 0; i < kValues; ++i)
      v[static_cast<size_t>(i)] = 50 + 40 * std::sin(i * 0.001) + (i * 7919 % 13);
    return v;
  }();
  XYChart *c = XYChart::create(1000, 600, 0xFFFFFF, -1);
  c->setPlotArea(60, 40, 900, 500, 0xFFFFFF, -1, -1, 0xD0D0D0, 0xD0D0D0);
  c->addAreaLayer(kValues, data.data(), 0x4080C0, "Values", 0);
  return c;
}

}  // namespace

int main(int argc, char **argv) {
  keepHeapWarm();
  for (const Kind &kind : kKinds)
    benchmark::RegisterBenchmark((std::string("Layer1M/") + kind.name).c_str(), drawnAndMapped,
                                 kind)
        ->Unit(benchmark::kMillisecond);
  for (const Kind &kind : kKinds)
    benchmark::RegisterBenchmark((std::string("LayerMap1M/") + kind.name).c_str(), mapped, kind)
        ->Unit(benchmark::kMillisecond);
  registerChartToPng("AreaChart65000ToPNG", areaChart65000);
  return runWithFloorRatios(argc, argv);
}
