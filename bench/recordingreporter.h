// SPDX-License-Identifier: GPL-2.0-or-later
// A console reporter that also keeps each benchmark's times, so a benchmark
// program can print ratios between its runs at the end.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

namespace moswit::bench {

class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      if (run.run_type == Run::RT_Aggregate) {
        if (run.aggregate_name == "median") {
          medians_[run.run_name.str()] = {run.GetAdjustedCPUTime(), run.GetAdjustedRealTime(), 1};
        }
        continue;
      }
      Sample& s = samples_[run.benchmark_name()];
      s.cpu += run.GetAdjustedCPUTime();
      s.real += run.GetAdjustedRealTime();
      s.count += 1;
    }
  }

  // CPU time (or wall-clock time) of `name`: the median when repeated, else
  // the mean; 0 when it did not run.
  double Time(const std::string& name, bool wallClock = false) const {
    const Sample* s = nullptr;
    if (const auto it = medians_.find(name); it != medians_.end()) {
      s = &it->second;
    } else if (const auto jt = samples_.find(name); jt != samples_.end()) {
      s = &jt->second;
    }
    if (!s || s->count == 0) return 0.0;
    return (wallClock ? s->real : s->cpu) / s->count;
  }

 private:
  struct Sample {
    double cpu = 0;
    double real = 0;
    int count = 0;
  };
  std::map<std::string, Sample> samples_;
  std::map<std::string, Sample> medians_;
};

// Runs the benchmarks the command line names, recording them in `reporter`;
// false after unknown arguments (they are reported).
inline bool RunRecorded(int& argc, char** argv, RecordingReporter& reporter) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return false;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return true;
}

}  // namespace moswit::bench
