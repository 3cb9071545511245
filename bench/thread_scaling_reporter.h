// A console reporter for benchmarks run on several thread counts with real
// time: after the usual table it prints, per benchmark, the items per second
// at each count (iterations of all threads over the wall time), their ratio
// to one thread, and the CPU time per item set against one thread's. A ratio
// short of the thread count with the CPU time per item unchanged means the
// threads waited (a lock, or no free core); a CPU time per item that grows
// means they contended for something while running. With repetitions the
// medians are used.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

class ThreadScalingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run> &runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run &run : runs)
      if (!run.error_occurred &&
          (run.run_type == Run::RT_Iteration || run.aggregate_name == "median"))
        perThreads_[run.run_name.function_name][run.threads] = {
            run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit),
            run.GetAdjustedCPUTime() / benchmark::GetTimeUnitMultiplier(run.time_unit)};
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    for (const auto &[name, counts] : perThreads_) {
      const auto one = counts.find(1);
      if (one == counts.end() || one->second.realSeconds <= 0 || one->second.cpuSeconds <= 0)
        continue;
      for (const auto &[threads, times] : counts) {
        if (times.realSeconds <= 0) continue;
        std::printf("%-28s %2lld thread(s) %8.1f /s  %5.2f x one thread  CPU per item %5.2f x\n",
                    name.c_str(), static_cast<long long>(threads), 1 / times.realSeconds,
                    one->second.realSeconds / times.realSeconds,
                    times.cpuSeconds / one->second.cpuSeconds);
      }
    }
  }

 private:
  struct Times {
    double realSeconds = 0;  // wall time per item, all threads together
    double cpuSeconds = 0;   // CPU time per item, summed over the threads
  };
  std::map<std::string, std::map<int64_t, Times>> perThreads_;
};
