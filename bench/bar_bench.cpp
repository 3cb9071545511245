// Bar chart workload against a floor measured in the same run:
//   BarToPNG: a 600 x 400 chart of 3 series x 12 categories side by side,
//   with title, legend, axis labels and horizontal grid, created, laid out,
//   drawn and encoded as PNG, against the PNG encoding alone of the same
//   pixels.
// After the run the workload is reported as a ratio to its floor.
#include <benchmark/benchmark.h>

#include "chart_png_workloads.h"
#include "floor_ratio_reporter.h"
#include "warm_heap.h"
#include "quorvane.h"

namespace {

XYChart *sideBySideBars() {
  XYChart *c = XYChart::create(600, 400, static_cast<int>(0xFFFF0000u), 0x000000);
  c->addTitle("Quarterly sales by region", "", 12, 0x000000, -1, -1);
  c->setPlotArea(60, 70, 500, 280, 0xFFFFFF, -1, -1, 0xD0D0D0, Transparent);
  c->addLegend(60, 30, false, "", 9);
  const char *const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  c->xAxis()->setLabels(12, months);
  c->yAxis()->setTitle("Units", "", 9, 0x000000);
  const double north[] = {42, 55, 61, 48, 70, 82, 77, 64, 58, 66, 73, 90};
  const double south[] = {30, 38, 45, 52, 49, 57, 63, 71, 68, 60, 55, 62};
  const double west[] = {18, 22, 35, 41, 38, 29, 33, 45, 51, 47, 39, 44};
  BarLayer *layer = c->addBarLayer2(Layer::Side, 0);
  layer->addDataSet(12, north, -1, "North");
  layer->addDataSet(12, south, -1, "South");
  layer->addDataSet(12, west, -1, "West");
  return c;
}

}  // namespace

int main(int argc, char **argv) {
  keepHeapWarm();
  registerChartToPng("BarToPNG", sideBySideBars);
  return runWithFloorRatios(argc, argv);
}
