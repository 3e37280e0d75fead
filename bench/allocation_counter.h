#pragma once

#include <cstdint>

// Counts the calls to every form of operator new and to malloc, calloc and realloc made by any
// code in the process between a start and a stop. Linking this file replaces the process's
// allocation functions with counting ones that hand the work to the C library's allocator.

void StartCountingAllocations();

// The number of allocation calls since the matching start.
std::uint64_t StopCountingAllocations();
