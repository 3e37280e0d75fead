#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "bench/prepared_table.h"

// The prepared table's cells: every expression of the prepared corpus over the same columns of
// rows, by each evaluator of the table.

inline constexpr std::size_t kPreparedRows = 1000000;

// Fails the benchmark when its timed loop allocated (defined by the benchmark's main file).
void RecordAllocations(benchmark::State& state, std::uint64_t calls);

// Prepares every expression with every evaluator over columns of the given number of rows;
// prints, per expression, whether quorvel_run, quorvel_run_many and the floor give the same bits
// and whether the peers take the text. Returns whether all do.
bool SetUpPreparedCells(std::size_t rows);

void RegisterPreparedCells();

// The table's rows from each benchmark's CPU time per iteration, as nsPerIteration reports it
// by name (NaN when it did not run).
std::vector<PreparedRowTimes> CollectPreparedRows(
    const std::function<double(const std::string&)>& nsPerIteration);
