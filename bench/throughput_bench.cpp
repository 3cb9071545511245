// Throughput of the reference bar, line and pie charts on 1 and 2 threads:
// each thread makes, draws, encodes as PNG in memory and destroys charts of
// its own, timed in real time, and after the run each chart's rate on two
// threads is set against one. Before the run it measures the resident memory
// a drawn 600 x 400 bar chart holds (its canvas, objects and PNG output,
// with 16 alive at once) and the peak that encoding one adds on top.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "chart_png_workloads.h"
#include "reference_charts.h"
#include "thread_scaling_reporter.h"
#include "warm_heap.h"

namespace {

// A field of /proc/self/status in KiB (VmRSS, VmHWM), or -1.
long statusKiB(const char *field) {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.rfind(field, 0) == 0 && line.size() > std::strlen(field) &&
        line[std::strlen(field)] == ':')
      return std::stol(line.substr(std::strlen(field) + 1));
  return -1;
}

struct ChartMemory {
  double heldKiB = 0;      // per drawn chart kept alive
  double encodingKiB = 0;  // the peak above that while one is encoded
};

// Drawn charts are kept alive so that each holds its own pages; one chart
// drawn and destroyed first loads the fonts and glyphs, and trimming the
// heap afterwards keeps its freed pages out of the figure.
ChartMemory measureChartMemory() {
  constexpr int kCharts = 16;
  reference::sideBySideBars()->destroy();
  BaseChart *warm = reference::sideBySideBars();
  warm->makeChart2(BaseChart::PNG);
  warm->destroy();
  malloc_trim(0);
  std::ofstream("/proc/self/clear_refs") << "5";  // restarts VmHWM from VmRSS
  const long before = statusKiB("VmRSS");
  std::vector<BaseChart *> charts;
  for (int i = 0; i < kCharts; ++i) {
    charts.push_back(reference::sideBySideBars());
    charts.back()->makeChart2(BaseChart::PNG);
  }
  const long peak = statusKiB("VmHWM");
  malloc_trim(0);  // what the encoders freed is no chart's
  const long after = statusKiB("VmRSS");
  for (BaseChart *c : charts) c->destroy();
  if (before < 0 || after < 0 || peak < 0) return {};
  return {static_cast<double>(after - before) / kCharts, static_cast<double>(peak - after)};
}

template <class MakeChart>
void registerThroughput(const char *name, MakeChart makeChart) {
  benchmark::RegisterBenchmark(name, chartToPng<MakeChart>, makeChart)
      ->Threads(1)
      ->Threads(2)
      ->UseRealTime()
      ->Unit(benchmark::kMillisecond);
}

}  // namespace

int main(int argc, char **argv) {
  const ChartMemory memory = measureChartMemory();
  keepHeapWarm();
  registerThroughput("BarToPNG", reference::sideBySideBars);
  registerThroughput("LineToPNG", reference::fourLines);
  registerThroughput("PieToPNG", reference::labelledPie);
  benchmark::Initialize(&argc, argv);
  ThreadScalingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  std::printf("600 x 400 bar chart drawn: %.0f KiB resident each, %.0f KiB more while encoding\n",
              memory.heldKiB, memory.encodingKiB);
  return 0;
}
