#include "bench/prepared_cells.h"

#include <quorvel/quorvel.h>

#include <bit>
#include <cstdio>
#include <memory>

#include "bench/allocation_counter.h"
#include "bench/peer_parsers.h"
#include "bench/prepared_corpus.h"

namespace {

struct Columns {
    std::vector<float> x;
    std::vector<float> y;
    std::vector<float> z;
    std::vector<float> results;
    std::vector<double> wideX;
    std::vector<double> wideY;
    std::vector<double> wideZ;
    std::vector<double> wideResults;
};

struct Subject {
    PreparedEntry entry;
    quorvel_program* program;
    std::unique_ptr<FparserPrepared> fparser;
    std::unique_ptr<FparserPrepared> fparserOptimised;
    std::unique_ptr<MuparserPrepared> muparser;
    std::unique_ptr<MuparserBulk> muparserBulk;
};

Columns g_columns;
std::vector<std::unique_ptr<Subject>> g_subjects;

std::size_t Rows() {
    return g_columns.x.size();
}

void RunCell(benchmark::State& state, const Subject* subject) {
    Columns& c = g_columns;
    StartCountingAllocations();
    for (auto _ : state) {
        for (std::size_t i = 0; i < Rows(); ++i)
            c.results[i] = quorvel_run(subject->program, c.x[i], c.y[i], c.z[i]);
        benchmark::ClobberMemory();
    }
    RecordAllocations(state, StopCountingAllocations());
}

void RunManyCell(benchmark::State& state, const Subject* subject) {
    Columns& c = g_columns;
    StartCountingAllocations();
    for (auto _ : state) {
        quorvel_run_many(subject->program, Rows(), c.x.data(), c.y.data(), c.z.data(),
                         c.results.data());
        benchmark::ClobberMemory();
    }
    RecordAllocations(state, StopCountingAllocations());
}

void FparserCell(benchmark::State& state, FparserPrepared* parser) {
    Columns& c = g_columns;
    for (auto _ : state) {
        for (std::size_t i = 0; i < Rows(); ++i) {
            const double values[3] = {c.wideX[i], c.wideY[i], c.wideZ[i]};
            c.wideResults[i] = parser->Evaluate(values);
        }
        benchmark::ClobberMemory();
    }
}

void MuparserCell(benchmark::State& state, MuparserPrepared* parser) {
    Columns& c = g_columns;
    for (auto _ : state) {
        for (std::size_t i = 0; i < Rows(); ++i)
            c.wideResults[i] = parser->Evaluate(c.wideX[i], c.wideY[i], c.wideZ[i]);
        benchmark::ClobberMemory();
    }
}

void MuparserBulkCell(benchmark::State& state, MuparserBulk* parser) {
    for (auto _ : state) {
        parser->Evaluate(g_columns.wideResults.data(), Rows());
        benchmark::ClobberMemory();
    }
}

void FloorCell(benchmark::State& state, FloorLoop floor) {
    Columns& c = g_columns;
    for (auto _ : state) {
        floor(Rows(), c.x.data(), c.y.data(), c.results.data());
        benchmark::ClobberMemory();
    }
}

std::string BenchmarkName(PreparedCell cell, const PreparedEntry& entry) {
    std::string name = std::string("prepared/") + kPreparedCellNames[cell] + "/" + entry.id;
    for (char& c : name) {
        if (c == ' ') c = '_';
    }
    return name;
}

// Counts the rows where run, run_many and the floor do not all give the same bits.
std::size_t CountDifferences(const Subject& subject) {
    Columns& c = g_columns;
    std::vector<float> floor(Rows());
    subject.entry.floor(Rows(), c.x.data(), c.y.data(), floor.data());
    quorvel_run_many(subject.program, Rows(), c.x.data(), c.y.data(), c.z.data(), c.results.data());
    std::size_t differences = 0;
    for (std::size_t i = 0; i < Rows(); ++i) {
        const auto bits = std::bit_cast<std::uint32_t>(c.results[i]);
        const float one = quorvel_run(subject.program, c.x[i], c.y[i], c.z[i]);
        if (bits != std::bit_cast<std::uint32_t>(one) ||
            bits != std::bit_cast<std::uint32_t>(floor[i])) {
            ++differences;
        }
    }
    return differences;
}

bool PeersTakeText(Subject& subject) {
    double value = 0.0;
    return subject.fparser->parsed() && subject.fparserOptimised->parsed() &&
           subject.muparser->TryEvaluate(value) &&
           subject.muparserBulk->TryEvaluate(g_columns.wideResults.data(), Rows());
}

void FillColumns(std::size_t rows) {
    Columns& c = g_columns;
    c.x = XColumn(rows);
    c.y.assign(rows, kPreparedY);
    c.z.assign(rows, kPreparedZ);
    c.results.assign(rows, 0.0f);
    c.wideX.assign(c.x.begin(), c.x.end());
    c.wideY.assign(rows, kPreparedY);
    c.wideZ.assign(rows, kPreparedZ);
    c.wideResults.assign(rows, 0.0);
}

}  // namespace

bool SetUpPreparedCells(std::size_t rows) {
    FillColumns(rows);
    std::printf(
        "| Prepared expression | bytes | rows where run, run_many and floor differ | "
        "peers take it |\n|---|--:|--:|---|\n");
    bool usable = true;
    for (const PreparedEntry& entry : BuildPreparedCorpus()) {
        auto subject = std::make_unique<Subject>();
        subject->entry = entry;
        quorvel_failure failure;
        subject->program = quorvel_prepare(entry.text.c_str(), &failure);
        if (subject->program == nullptr) {
            std::printf("| %s | %zu | FAILS TO PREPARE: %s | |\n", entry.title.c_str(),
                        entry.text.size(), failure.text);
            usable = false;
            continue;
        }
        subject->fparser = std::make_unique<FparserPrepared>(entry.text, false);
        subject->fparserOptimised = std::make_unique<FparserPrepared>(entry.text, true);
        subject->muparser = std::make_unique<MuparserPrepared>(entry.text);
        Columns& c = g_columns;
        subject->muparserBulk = std::make_unique<MuparserBulk>(entry.text, c.wideX.data(),
                                                               c.wideY.data(), c.wideZ.data());
        const std::size_t differences = CountDifferences(*subject);
        const bool peers = PeersTakeText(*subject);
        std::printf("| %s | %zu | %zu | %s |\n", entry.title.c_str(), entry.text.size(),
                    differences, peers ? "yes" : "NO");
        usable = usable && differences == 0 && peers;
        g_subjects.push_back(std::move(subject));
    }
    std::printf("\n");
    return usable;
}

void RegisterPreparedCells() {
    for (const auto& subject : g_subjects) {
        const PreparedEntry& entry = subject->entry;
        benchmark::RegisterBenchmark(BenchmarkName(kRunCell, entry).c_str(), RunCell,
                                     subject.get());
        benchmark::RegisterBenchmark(BenchmarkName(kRunManyCell, entry).c_str(), RunManyCell,
                                     subject.get());
        benchmark::RegisterBenchmark(BenchmarkName(kFparserOnceCell, entry).c_str(), FparserCell,
                                     subject->fparser.get());
        benchmark::RegisterBenchmark(BenchmarkName(kFparserOptimisedCell, entry).c_str(),
                                     FparserCell, subject->fparserOptimised.get());
        benchmark::RegisterBenchmark(BenchmarkName(kMuparserOnceCell, entry).c_str(), MuparserCell,
                                     subject->muparser.get());
        benchmark::RegisterBenchmark(BenchmarkName(kMuparserBulkCell, entry).c_str(),
                                     MuparserBulkCell, subject->muparserBulk.get());
        benchmark::RegisterBenchmark(BenchmarkName(kFloorCell, entry).c_str(), FloorCell,
                                     entry.floor);
    }
}

std::vector<PreparedRowTimes> CollectPreparedRows(
    const std::function<double(const std::string&)>& nsPerIteration) {
    std::vector<PreparedRowTimes> rows;
    for (const auto& subject : g_subjects) {
        PreparedRowTimes row{subject->entry.title, subject->entry.libmBound, {}};
        for (int cell = 0; cell < kPreparedCellCount; ++cell) {
            const auto name = BenchmarkName(static_cast<PreparedCell>(cell), subject->entry);
            row.ns[cell] = nsPerIteration(name) / static_cast<double>(Rows());
        }
        rows.push_back(row);
    }
    return rows;
}
