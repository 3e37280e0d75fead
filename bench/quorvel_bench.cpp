// One-shot evaluation of the corpus by Quorvel (its internal entry points and the shipped shared
// library), fparser and muparser, and the prepared corpus evaluated over columns of rows
// (prepared_cells.cpp), all interleaved in one run: Google Benchmark runs and repeats the cells
// (its flags, JSON output included, all apply), this file turns the medians into the two
// Markdown tables and the verdicts. bench/batch_and_startup.sh measures quorvel-eval's
// throughput and the window's start-up.

#include <benchmark/benchmark.h>
#include <quorvel/quorvel.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <string>
#include <vector>

#include "bench/allocation_counter.h"
#include "bench/corpus.h"
#include "bench/peer_parsers.h"
#include "bench/prepared_cells.h"
#include "bench/result_table.h"
#include "engine/evaluator.h"
#include "request/evaluation_request.h"

namespace {

std::uint64_t g_quorvelAllocations = 0;

}  // namespace

void RecordAllocations(benchmark::State& state, std::uint64_t calls) {
    g_quorvelAllocations += calls;
    if (calls > 0) {
        state.SkipWithError(
            ("heap allocations in the timed loop: " + std::to_string(calls)).c_str());
    }
}

namespace {

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

void LibraryEvaluateCell(benchmark::State& state, const std::string* text) {
    const char* expression = text->c_str();
    float value = 0.0f;
    StartCountingAllocations();
    for (auto _ : state) {
        const bool ok = quorvel_evaluate(expression, kX, kY, kZ, &value);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(value);
    }
    RecordAllocations(state, StopCountingAllocations());
}

void LibraryDisplayCell(benchmark::State& state, const std::string* text) {
    const char* expression = text->c_str();
    char display[QUORVEL_DISPLAY_CAPACITY];
    StartCountingAllocations();
    for (auto _ : state) {
        const bool ok = quorvel_display(expression, kXText, kYText, kZText, display);
        benchmark::DoNotOptimize(ok);
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
        benchmark::RegisterBenchmark(BenchmarkName(kLibraryEvaluateCell, entry).c_str(),
                                     LibraryEvaluateCell, text);
        benchmark::RegisterBenchmark(BenchmarkName(kLibraryDisplayCell, entry).c_str(),
                                     LibraryDisplayCell, text);
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
        float shipped = 0.0f;
        const bool ok = EvaluateWithValues(text, kXText, kYText, kZText, quorvel) &
                        quorvel_evaluate(text, kX, kY, kZ, &shipped) &
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

// Debian's muparser evaluates its bulk mode on OpenMP threads; the table compares one core with
// one core. The OpenMP runtime reads its setting when it loads, before main, so the benchmark
// starts itself again with it set.
void RunOnOneOpenMpThread(char** argv) {
    const char* threads = std::getenv("OMP_NUM_THREADS");
    if (threads != nullptr && std::strcmp(threads, "1") == 0) return;
    setenv("OMP_NUM_THREADS", "1", 1);
    execv("/proc/self/exe", argv);
    std::perror("quorvel-bench: cannot restart with OMP_NUM_THREADS=1");
    std::exit(2);
}

// "--rows=N" (the rows of the prepared table's columns) is the benchmark's own flag; it is taken
// out before Google Benchmark reads the rest.
std::size_t TakeRowsFlag(std::vector<char*>& arguments) {
    constexpr char kFlag[] = "--rows=";
    std::size_t rows = kPreparedRows;
    for (auto at = arguments.begin() + 1; at != arguments.end();) {
        if (std::strncmp(*at, kFlag, sizeof kFlag - 1) != 0) {
            ++at;
            continue;
        }
        rows = std::strtoull(*at + sizeof kFlag - 1, nullptr, 10);
        at = arguments.erase(at);
    }
    return rows;
}

}  // namespace

int main(int argc, char** argv) {
    RunOnOneOpenMpThread(argv);
    // Three repetitions in random order, judged by their medians, so a burst of load on a shared
    // machine moves one repetition rather than the figure; flags given on the command line come
    // later and win.
    std::vector<char*> arguments(argv, argv + argc);
    const std::size_t columnRows = TakeRowsFlag(arguments);
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
    if (columnRows == 0 || !SetUpPreparedCells(columnRows)) {
        std::fprintf(stderr,
                     "quorvel-bench: every evaluator must take the prepared corpus, and Quorvel "
                     "and the floor must agree bit for bit\n");
        return 2;
    }
    RegisterCells(corpus, fparser, muparser);
    RegisterPreparedCells();
    CollectingReporter reporter(isatty(STDOUT_FILENO) ? benchmark::ConsoleReporter::OO_Color
                                                      : benchmark::ConsoleReporter::OO_None);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const std::vector<RowTimes> rows = CollectRows(corpus, reporter);
    std::printf("\n");
    PrintTimesTable(stdout, rows);
    std::printf("\n");
    PrintVerdicts(stdout, CheckTargets(rows));
    const std::vector<PreparedRowTimes> preparedTimes =
        CollectPreparedRows([&](const std::string& name) { return reporter.NanosecondsFor(name); });
    std::printf("\nPrepared once, ns per evaluation over %zu rows:\n\n", columnRows);
    PrintPreparedTable(stdout, preparedTimes);
    std::printf("\n");
    PrintVerdicts(stdout, CheckPreparedTargets(preparedTimes));
    const bool allocationFree = g_quorvelAllocations == 0;
    std::printf("%-8s no heap allocation in Quorvel's timed loops: %llu calls\n",
                allocationFree ? "[met]" : "[FAILED]",
                static_cast<unsigned long long>(g_quorvelAllocations));
    return allocationFree ? 0 : 1;
}
