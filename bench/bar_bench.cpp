// Bar chart workloads against floors measured in the same run:
//   BarToPNG: a 600 x 400 chart of 3 series x 12 categories side by side,
//   with title, legend, axis labels and horizontal grid, created, laid out,
//   drawn and encoded as PNG, against the PNG encoding alone of the same
//   pixels.
//   Smooth/BarToPNG: the same chart with setAntiAlias(1), against its own floor.
// After the run each workload is reported as a ratio to its floor, and the
// smooth chart against the aliased one in time and in PNG size.
#include <benchmark/benchmark.h>

#include "chart_png_workloads.h"
#include "floor_ratio_reporter.h"
#include "reference_charts.h"
#include "warm_heap.h"

int main(int argc, char **argv) {
  keepHeapWarm();
  registerChartToPngBothWays("BarToPNG", reference::sideBySideBars);
  return runWithFloorRatios(argc, argv);
}
