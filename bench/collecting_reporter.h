#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

// Prints as the console reporter does and keeps the CPU time per iteration of every benchmark,
// so the figures can be compared after the run.
class CollectingReporter : public benchmark::ConsoleReporter {
  public:
    explicit CollectingReporter(OutputOptions options) : ConsoleReporter(options) {}

    void ReportRuns(const std::vector<Run>& runs) override;

    // ns per iteration of the benchmark registered under name: the median over repetitions when
    // there are several, else the mean of its runs; NaN when it never ran or any run failed.
    double NanosecondsFor(const std::string& name) const;

  private:
    struct Sample {
        double sum = 0.0;
        int runs = 0;
        double median = -1.0;
        bool failed = false;
    };
    std::map<std::string, Sample> samples_;
};
