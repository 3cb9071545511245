// Line chart workload against a floor measured in the same run:
//   LineToPNG: a 600 x 400 chart of 4 series x 100 points, line width 2,
//   with title, legend and an axis label at every 10th point, created, laid
//   out, drawn and encoded as PNG, against the PNG encoding alone of the same
//   pixels.
// After the run the workload is reported as a ratio to its floor.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "chart_png_workloads.h"
#include "floor_ratio_reporter.h"
#include "warm_heap.h"
#include "quorvane.h"

namespace {

constexpr int kPoints = 100;

XYChart *fourLines() {
  static const auto labels = [] {
    std::vector<std::string> text(kPoints);
    for (int i = 0; i < kPoints; i += 10) text[static_cast<size_t>(i)] = std::to_string(i);
    return text;
  }();
  std::vector<const char *> labelPointers;
  for (const auto &t : labels) labelPointers.push_back(t.c_str());

  XYChart *c = XYChart::create(600, 400, static_cast<int>(0xFFFF0000u), 0x000000);
  c->addTitle("Four signals", "", 12, 0x000000, -1, -1);
  c->setPlotArea(60, 70, 500, 280, 0xFFFFFF, -1, -1, 0xD0D0D0, Transparent);
  c->addLegend(60, 30, false, "", 9);
  c->xAxis()->setLabels(kPoints, labelPointers.data());
  LineLayer *layer = c->addLineLayer2(Layer::Overlay, 0);
  layer->setLineWidth(2);
  const char *const names[] = {"Alpha", "Beta", "Gamma", "Delta"};
  std::vector<double> values(kPoints);
  for (int s = 0; s < 4; ++s) {
    for (int i = 0; i < kPoints; ++i)
      values[static_cast<size_t>(i)] = 50 + 30 * std::sin(i * 0.07 * (s + 1) + s) + 4 * s;
    layer->addDataSet(kPoints, values.data(), -1, names[s]);
  }
  return c;
}

}  // namespace

int main(int argc, char **argv) {
  keepHeapWarm();
  registerChartToPng("LineToPNG", fourLines);
  return runWithFloorRatios(argc, argv);
}
