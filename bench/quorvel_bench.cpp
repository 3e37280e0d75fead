// One-shot evaluation of the corpus by Quorvel, fparser and muparser, interleaved per expression:
// Google Benchmark runs and repeats the cells (its flags, JSON output included, all apply), this
// file turns the medians into the Markdown table and the verdicts. bench/batch_and_startup.sh
// measures quorvel-eval's throughput and the window's start-up.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "bench/allocation_counter.h"
#include "bench/corpus.h"
#include "bench/peer_parsers.h"
#include "bench/result_table.h"
#include "engine/evaluator.h"
#include "request/evaluation_request.h"

namespace {

std::uint64_t g_quorvelAllocations = 0;

void RecordAllocations(benchmark::State& state, std::uint64_t calls) {
    g_quorvelAllocations += calls;
    if (calls > 0) {
        state.SkipWithError(
            ("heap allocations in the timed loop: " + std::to_string(calls)).c_str());
    }
}

// The variables as a request with the corpus's value texts sets them.
struct CorpusVariables {
    VariableBank bank{};
    CorpusVariables() {
        const VariableValues values = ConvertValueTexts(kXText, kYText, kZText);
        bank['x' - 'a'] = values.x;
        bank['y' - 'a'] = values.y;
        bank['z' - 'a'] = values.z;
    }
};

void EvaluateCell(benchmark::State& state, const std::string* text) {
    static const CorpusVariables variables;
    const char* expression = text->c_str();
    float value = 0.0f;
    StartCountingAllocations();
    for (auto _ : state) {
        const bool ok = EvaluateExpression(expression, value, variables.bank, nullptr);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(value);
    }
    RecordAllocations(state, StopCountingAllocations());
}

void RequestCell(benchmark::State& state, const std::string* text) {
    const char* expression = text->c_str();
    StartCountingAllocations();
    for (auto _ : state) {
        DisplayText display = EvaluationRequest(expression, kXText, kYText, kZText);
        benchmark::DoNotOptimize(display);
    }
    RecordAllocations(state, StopCountingAllocations());
}

void FparserCell(benchmark::State& state, FparserOneShot* parser, const std::string* text) {
    const char* expression = text->c_str();
    for (auto _ : state) {
        double value = parser->Evaluate(expression);
        benchmark::DoNotOptimize(value);
    }
}

void MuparserCell(benchmark::State& state, MuparserOneShot* parser, const std::string* text) {
    for (auto _ : state) {
        double value = parser->Evaluate(*text);
        benchmark::DoNotOptimize(value);
    }
}

std::string BenchmarkName(Cell cell, const CorpusEntry& entry) {
    return std::string(kCellNames[cell]) + "/" + entry.id;
}

void RegisterCells(const std::vector<CorpusEntry>& corpus, FparserOneShot& fparser,
                   MuparserOneShot& muparser) {
    for (const CorpusEntry& entry : corpus) {
        const std::string* text = &entry.text;
        benchmark::RegisterBenchmark(BenchmarkName(kEvaluateCell, entry).c_str(), EvaluateCell,
                                     text);
        benchmark::RegisterBenchmark(BenchmarkName(kRequestCell, entry).c_str(), RequestCell, text);
        benchmark::RegisterBenchmark(BenchmarkName(kFparserCell, entry).c_str(), FparserCell,
                                     &fparser, text);
        benchmark::RegisterBenchmark(BenchmarkName(kMuparserCell, entry).c_str(), MuparserCell,
                                     &muparser, text);
    }
}

template <typename Evaluate>
std::uint64_t AllocationsOfOne(Evaluate evaluate) {
    StartCountingAllocations();
    evaluate();
    return StopCountingAllocations();
}

// Every parser must evaluate every text, or its figure would time an error path.
bool CheckCorpus(const std::vector<CorpusEntry>& corpus, FparserOneShot& fparser,
                 MuparserOneShot& muparser) {
    std::printf(
        "| Expression | bytes | depth | Quorvel | fparser | muparser | allocations per "
        "evaluation (Quorvel/fparser/muparser) |\n|---|--:|--:|--:|--:|--:|--:|\n");
    bool usable = true;
    for (const CorpusEntry& entry : corpus) {
        const char* text = entry.text.c_str();
        float quorvel = 0.0f;
        double fp = 0.0;
        double mu = 0.0;
        const bool ok = EvaluateWithValues(text, kXText, kYText, kZText, quorvel) &
                        fparser.TryEvaluate(text, fp) & muparser.TryEvaluate(entry.text, mu);
        const std::uint64_t allocations[] = {
            AllocationsOfOne([&] { EvaluationRequest(text, kXText, kYText, kZText); }),
            AllocationsOfOne([&] { fp = fparser.Evaluate(text); }),
            AllocationsOfOne([&] { mu = muparser.Evaluate(entry.text); })};
        std::printf(
            "| %s | %zu | %d | %.9g | %.9g | %.9g | %llu/%llu/%llu |%s\n", entry.title.c_str(),
            entry.text.size(), BracketDepth(entry.text), static_cast<double>(quorvel), fp, mu,
            static_cast<unsigned long long>(allocations[0]),
            static_cast<unsigned long long>(allocations[1]),
            static_cast<unsigned long long>(allocations[2]), ok ? "" : " FAILS TO EVALUATE");
        usable = usable && ok;
    }
    std::printf("\n");
    return usable;
}

// Prints as the console reporter does and keeps each benchmark's CPU time per iteration: the
// median over repetitions, or the single run's.
class CollectingReporter : public benchmark::ConsoleReporter {
  public:
    using ConsoleReporter::ConsoleReporter;

    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const bool single = run.run_type == Run::RT_Iteration && run.repetitions <= 1;
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            double& ns = ns_.try_emplace(run.run_name.function_name, kNaN).first->second;
            if (run.error_occurred) {
                ns = kNaN;
            } else if (single || median) {
                ns = run.GetAdjustedCPUTime() * 1e9 /
                     benchmark::GetTimeUnitMultiplier(run.time_unit);
            }
        }
    }

    // NaN when the benchmark never ran or failed.
    double NanosecondsFor(const std::string& name) const {
        const auto found = ns_.find(name);
        return found == ns_.end() ? kNaN : found->second;
    }

  private:
    static constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    std::map<std::string, double> ns_;
};

std::vector<RowTimes> CollectRows(const std::vector<CorpusEntry>& corpus,
                                  const CollectingReporter& reporter) {
    std::vector<RowTimes> rows;
    for (const CorpusEntry& entry : corpus) {
        RowTimes row{entry.title, entry.worstCase, {}};
        for (int cell = 0; cell < kCellCount; ++cell) {
            row.ns[cell] = reporter.NanosecondsFor(BenchmarkName(static_cast<Cell>(cell), entry));
        }
        rows.push_back(row);
    }
    return rows;
}

}  // namespace

int main(int argc, char** argv) {
    // Three repetitions in random order, judged by their medians, so a burst of load on a shared
    // machine moves one repetition rather than the figure; flags given on the command line come
    // later and win.
    std::vector<char*> arguments(argv, argv + argc);
    char repetitions[] = "--benchmark_repetitions=3";
    char interleaving[] = "--benchmark_enable_random_interleaving=true";
    char aggregatesOnly[] = "--benchmark_report_aggregates_only=true";
    arguments.insert(arguments.begin() + 1, {repetitions, interleaving, aggregatesOnly});
    int count = static_cast<int>(arguments.size());
    benchmark::Initialize(&count, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(count, arguments.data())) return 2;

    const std::vector<CorpusEntry> corpus = BuildCorpus();
    FparserOneShot fparser;
    MuparserOneShot muparser;
    if (!CheckCorpus(corpus, fparser, muparser)) {
        std::fprintf(stderr, "quorvel-bench: every parser must evaluate the whole corpus\n");
        return 2;
    }
    RegisterCells(corpus, fparser, muparser);
    CollectingReporter reporter(isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_Color
                                                      : benchmark::ConsoleReporter::OO_None);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const std::vector<RowTimes> rows = CollectRows(corpus, reporter);
    std::printf("\n");
    PrintTimesTable(stdout, rows);
    std::printf("\n");
    PrintVerdicts(stdout, CheckTargets(rows));
    const bool allocationFree = g_quorvelAllocations == 0;
    std::printf("%-8s no heap allocation in Quorvel's timed loops: %llu calls\n",
                allocationFree ? "[met]" : "[FAILED]",
                static_cast<unsigned long long>(g_quorvelAllocations));
    return allocationFree ? 0 : 1;
}
