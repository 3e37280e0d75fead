#include "bench/collecting_reporter.h"

#include <limits>

namespace {

double Nanoseconds(const benchmark::BenchmarkReporter::Run& run) {
    return run.GetAdjustedCPUTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
}

}  // namespace

void CollectingReporter::ReportRuns(const std::vector<Run>& runs) {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
        Sample& sample = samples_[run.run_name.function_name];
        if (run.error_occurred) {
            sample.failed = true;
        } else if (run.run_type == Run::RT_Iteration) {
            sample.sum += Nanoseconds(run);
            ++sample.runs;
        } else if (run.aggregate_name == "median") {
            sample.median = Nanoseconds(run);
        }
    }
}

double CollectingReporter::NanosecondsFor(const std::string& name) const {
    const auto found = samples_.find(name);
    if (found == samples_.end() || found->second.failed) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    const Sample& sample = found->second;
    if (sample.median >= 0.0) return sample.median;
    return sample.runs > 0 ? sample.sum / sample.runs : std::numeric_limits<double>::quiet_NaN();
}
