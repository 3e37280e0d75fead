#include "bench/allocation_counter.h"

#include <atomic>
#include <cstddef>

// The C library's own allocator under its exported internal names, so the replacements below can
// forward to it without calling themselves.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* pointer, std::size_t size);
void* __libc_memalign(std::size_t alignment, std::size_t size);
void __libc_free(void* pointer);
}

namespace {

// Constant-initialised, so allocations made before main are safe to count (they are not armed).
std::atomic<bool> g_counting{false};
std::atomic<std::uint64_t> g_calls{0};

void CountCall() {
    if (g_counting.load(std::memory_order_relaxed)) {
        g_calls.fetch_add(1, std::memory_order_relaxed);
    }
}

}  // namespace

void StartCountingAllocations() {
    g_calls.store(0, std::memory_order_relaxed);
    g_counting.store(true, std::memory_order_seq_cst);
}

std::uint64_t StopCountingAllocations() {
    g_counting.store(false, std::memory_order_seq_cst);
    return g_calls.load(std::memory_order_relaxed);
}

extern "C" void* malloc(std::size_t size) noexcept {
    CountCall();
    return __libc_malloc(size);
}

extern "C" void* calloc(std::size_t count, std::size_t size) noexcept {
    CountCall();
    return __libc_calloc(count, size);
}

extern "C" void* realloc(void* pointer, std::size_t size) noexcept {
    CountCall();
    return __libc_realloc(pointer, size);
}

extern "C" void* aligned_alloc(std::size_t alignment, std::size_t size) noexcept {
    CountCall();
    return __libc_memalign(alignment, size);
}

// The C library requires free to be replaced together with malloc, calloc and realloc.
extern "C" void free(void* pointer) noexcept {
    __libc_free(pointer);
}
