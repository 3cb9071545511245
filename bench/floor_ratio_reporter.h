// A console reporter that, after the usual table, prints every workload as a
// ratio of CPU time per iteration to its floor, the benchmark registered as
// "Floor/<name>" in the same run. With repetitions the medians are set
// against each other too.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

class FloorRatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run> &runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run &run : runs)
      if (!run.error_occurred &&
          (run.run_type == Run::RT_Iteration || run.aggregate_name == "median"))
        perIteration_[run.benchmark_name()] = run.GetAdjustedCPUTime();
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const auto &[name, time] : perIteration_) {
      if (name.rfind("Floor/", 0) == 0) continue;
      const auto floor = perIteration_.find("Floor/" + name);
      if (floor != perIteration_.end() && floor->second > 0)
        std::printf("%-32s %6.2f x floor\n", name.c_str(), time / floor->second);
    }
  }

 private:
  std::map<std::string, double> perIteration_;
};

// Runs the registered benchmarks and reports them with their floor ratios.
inline int runWithFloorRatios(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  FloorRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
