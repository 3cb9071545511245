// Pie chart workloads against floors measured in the same run:
//   PieToPNG: a 400 x 300 3D pie of eight labelled sectors, one exploded,
//   created, laid out, drawn and encoded as PNG, against the PNG encoding
//   alone of the same pixels.
//   Smooth/PieToPNG: the same chart with setAntiAlias(1), against its own floor.
// After the run each workload is reported as a ratio to its floor, and the
// smooth chart against the aliased one in time and in PNG size.
#include <benchmark/benchmark.h>

#include "chart_png_workloads.h"
#include "floor_ratio_reporter.h"
#include "reference_charts.h"
#include "warm_heap.h"

int main(int argc, char **argv) {
  keepHeapWarm();
  registerChartToPngBothWays("PieToPNG", reference::labelledPie);
  return runWithFloorRatios(argc, argv);
}
