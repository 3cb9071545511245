// A console reporter that, after the usual table, prints every workload as a
// ratio of CPU time per iteration to its floor, the benchmark registered as
// "Floor/<name>" in the same run. A workload "Smooth/<name>" (the chart of
// <name> with smooth shapes) is also set against <name> itself, aliased, in
// CPU time and in the PNG size its counter pngBytes gives, each beside the
// bound smooth drawing is held to: at most twice the aliased. With
// repetitions the medians are set against each other too.
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
    for (const Run &run : runs) {
      if (run.error_occurred ||
          (run.run_type != Run::RT_Iteration && run.aggregate_name != "median"))
        continue;
      Figures &figures = perIteration_[run.benchmark_name()];
      figures.cpuTime = run.GetAdjustedCPUTime();
      const auto bytes = run.counters.find("pngBytes");
      if (bytes != run.counters.end()) figures.pngBytes = bytes->second.value;
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const auto &[name, figures] : perIteration_) {
      if (name.rfind("Floor/", 0) == 0) continue;
      const auto floor = perIteration_.find("Floor/" + name);
      if (floor != perIteration_.end() && floor->second.cpuTime > 0)
        std::printf("%-32s %6.2f x floor\n", name.c_str(), figures.cpuTime / floor->second.cpuTime);
    }
    for (const auto &[name, smooth] : perIteration_) {
      if (name.rfind(kSmooth, 0) != 0) continue;
      const auto aliased = perIteration_.find(name.substr(sizeof kSmooth - 1));
      if (aliased == perIteration_.end() || aliased->second.cpuTime <= 0) continue;
      const double timeRatio = smooth.cpuTime / aliased->second.cpuTime;
      std::printf("%-32s %6.2f x aliased time (at most %.0f)%s\n", name.c_str(), timeRatio,
                  kSmoothBound, overBound(timeRatio));
      if (smooth.pngBytes > 0 && aliased->second.pngBytes > 0) {
        const double sizeRatio = smooth.pngBytes / aliased->second.pngBytes;
        std::printf("%-32s %6.2f x aliased PNG size (at most %.0f)%s: %.0f bytes against %.0f\n",
                    name.c_str(), sizeRatio, kSmoothBound, overBound(sizeRatio), smooth.pngBytes,
                    aliased->second.pngBytes);
      }
    }
  }

 private:
  static constexpr char kSmooth[] = "Smooth/";
  static constexpr double kSmoothBound = 2;  // smooth against aliased, in time and in size

  static const char *overBound(double ratio) { return ratio > kSmoothBound ? " OVER" : ""; }

  struct Figures {
    double cpuTime = 0;   // per iteration, in the run's time unit
    double pngBytes = 0;  // 0: no such counter
  };
  std::map<std::string, Figures> perIteration_;
};

// Runs the registered benchmarks and reports them with their floor ratios.
inline int runWithFloorRatios(int argc, char **argv) {
  benchmark::Initialize(&argc, argv);
  FloorRatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
