// Pie chart workload against a floor measured in the same run:
//   PieToPNG: a 400 x 300 3D pie of eight labelled sectors, one exploded,
//   created, laid out, drawn and encoded as PNG, against the PNG encoding
//   alone of the same pixels.
// After the run the workload is reported as a ratio to its floor.
#include <benchmark/benchmark.h>

#include "chart_png_workloads.h"
#include "floor_ratio_reporter.h"
#include "warm_heap.h"
#include "quorvane.h"

namespace {

PieChart *labelledPie() {
  PieChart *pie = PieChart::create(400, 300, static_cast<int>(0xFFFF0000u), 0x000000);
  pie->setPieSize(200, 150, 90);
  pie->set3D(-1, -1, false);
  const double values[] = {25, 18, 15, 12, 8, 30, 22, 10};
  const char *const labels[] = {"Labor", "Production", "Facilities", "Taxes",
                                "Misc",  "R&D",        "Sales",      "Other"};
  pie->setData(8, values, labels);
  pie->sector(2)->setExplode(-1);
  pie->setLabelPos(20, 0x000000);
  return pie;
}

}  // namespace

int main(int argc, char **argv) {
  keepHeapWarm();
  registerChartToPng("PieToPNG", labelledPie);
  return runWithFloorRatios(argc, argv);
}
