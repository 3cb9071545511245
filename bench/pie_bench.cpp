// Pie chart workload against a floor measured in the same run:
//   PieToPNG: a 400 x 300 3D pie of eight labelled sectors, one exploded,
//   created, laid out, drawn and encoded as PNG, against the PNG encoding
//   alone of the same pixels.
// After the run the workload is reported as a ratio to its floor.
#include <benchmark/benchmark.h>

#include "chart_png_workloads.h"
#include "floor_ratio_reporter.h"
#include "reference_charts.h"
#include "warm_heap.h"

int main(int argc, char **argv) {
  keepHeapWarm();
  registerChartToPng("PieToPNG", reference::labelledPie);
  return runWithFloorRatios(argc, argv);
}
