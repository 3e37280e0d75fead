#include "bench/allocation_counter.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <vector>

namespace {

// Stores every block somewhere the compiler must assume is read, so no allocation is elided.
void* volatile g_sink = nullptr;

void StackOnly() {
    char buffer[1024];
    std::memset(buffer, 1, sizeof buffer);
    g_sink = buffer;
    g_sink = nullptr;
}

void ScalarNew() {
    int* block = new int(7);
    g_sink = block;
    delete block;
}

void ArrayNew() {
    char* block = new char[100];
    g_sink = block;
    delete[] block;
}

void AlignedNew() {
    struct alignas(64) Wide {
        char bytes[64];
    };
    Wide* block = new Wide;
    g_sink = block;
    delete block;
}

void NothrowNew() {
    double* block = new (std::nothrow) double[4];
    g_sink = block;
    delete[] block;
}

void Malloc() {
    void* block = std::malloc(32);
    g_sink = block;
    std::free(block);
}

void Calloc() {
    void* block = std::calloc(4, 8);
    g_sink = block;
    std::free(block);
}

void MallocThenRealloc() {
    void* block = std::malloc(8);
    g_sink = block;
    block = std::realloc(block, 4096);
    g_sink = block;
    std::free(block);
}

// The C library allocates for strdup inside itself; that call must be seen as well.
void LibraryStrdup() {
    char* copy = strdup("counted although the C library makes the call");
    g_sink = copy;
    std::free(copy);
}

void ShortString() {
    std::string text("short");
    g_sink = text.data();
}

void LongString() {
    std::string text(100, 'x');
    g_sink = text.data();
}

void ReservedVector() {
    std::vector<int> values;
    values.reserve(10);
    g_sink = values.data();
}

struct AllocationCase {
    const char* name;
    void (*action)();
    std::uint64_t calls;
};

constexpr AllocationCase kCases[] = {
    {"stack buffer", StackOnly, 0},
    {"new", ScalarNew, 1},
    {"new[]", ArrayNew, 1},
    {"aligned new", AlignedNew, 1},
    {"nothrow new[]", NothrowNew, 1},
    {"malloc", Malloc, 1},
    {"calloc", Calloc, 1},
    {"malloc and realloc", MallocThenRealloc, 2},
    {"strdup", LibraryStrdup, 1},
    {"short std::string", ShortString, 0},
    {"long std::string", LongString, 1},
    {"reserved std::vector", ReservedVector, 1},
};

TEST(AllocationCounter, CountsEveryKindOfAllocationCall) {
    for (const AllocationCase& testCase : kCases) {
        SCOPED_TRACE(testCase.name);
        StartCountingAllocations();
        testCase.action();
        EXPECT_EQ(StopCountingAllocations(), testCase.calls);
    }
}

TEST(AllocationCounter, CountsOnlyBetweenStartAndStop) {
    StartCountingAllocations();
    ScalarNew();
    const std::uint64_t counted = StopCountingAllocations();
    ScalarNew();
    Malloc();
    EXPECT_EQ(StopCountingAllocations(), counted);

    StartCountingAllocations();
    EXPECT_EQ(StopCountingAllocations(), 0u);
}

}  // namespace
