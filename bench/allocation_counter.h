#pragma once

#include <cstdint>

// Counts the calls to malloc, calloc, realloc and aligned_alloc made by any code in the process
// between a start and a stop; every form of operator new reaches one of them. Linking this file
// replaces those functions with counting ones that hand the work to the C library's allocator.

void StartCountingAllocations();

// The number of allocation calls since the matching start.
std::uint64_t StopCountingAllocations();
