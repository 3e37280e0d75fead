#include "bench/allocation_counter.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

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

void* AllocateOrThrow(std::size_t size) {
    CountCall();
    if (void* block = __libc_malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}

void* AllocateAlignedOrThrow(std::size_t size, std::align_val_t alignment) {
    CountCall();
    if (void* block = __libc_memalign(static_cast<std::size_t>(alignment), size == 0 ? 1 : size)) {
        return block;
    }
    throw std::bad_alloc();
}

void* AllocateOrNull(std::size_t size) noexcept {
    CountCall();
    return __libc_malloc(size == 0 ? 1 : size);
}

void* AllocateAlignedOrNull(std::size_t size, std::align_val_t alignment) noexcept {
    CountCall();
    return __libc_memalign(static_cast<std::size_t>(alignment), size == 0 ? 1 : size);
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

// The C library requires free to be replaced together with malloc, calloc and realloc.
extern "C" void free(void* pointer) noexcept {
    __libc_free(pointer);
}

void* operator new(std::size_t size) {
    return AllocateOrThrow(size);
}
void* operator new[](std::size_t size) {
    return AllocateOrThrow(size);
}
void* operator new(std::size_t size, std::align_val_t alignment) {
    return AllocateAlignedOrThrow(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
    return AllocateAlignedOrThrow(size, alignment);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return AllocateOrNull(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    return AllocateOrNull(size);
}
void* operator new(std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return AllocateAlignedOrNull(size, alignment);
}
void* operator new[](std::size_t size, std::align_val_t alignment, const std::nothrow_t&) noexcept {
    return AllocateAlignedOrNull(size, alignment);
}

void operator delete(void* pointer) noexcept {
    __libc_free(pointer);
}
void operator delete[](void* pointer) noexcept {
    __libc_free(pointer);
}
void operator delete(void* pointer, std::size_t) noexcept {
    __libc_free(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
    __libc_free(pointer);
}
void operator delete(void* pointer, std::align_val_t) noexcept {
    __libc_free(pointer);
}
void operator delete[](void* pointer, std::align_val_t) noexcept {
    __libc_free(pointer);
}
void operator delete(void* pointer, std::size_t, std::align_val_t) noexcept {
    __libc_free(pointer);
}
void operator delete[](void* pointer, std::size_t, std::align_val_t) noexcept {
    __libc_free(pointer);
}
void operator delete(void* pointer, const std::nothrow_t&) noexcept {
    __libc_free(pointer);
}
void operator delete[](void* pointer, const std::nothrow_t&) noexcept {
    __libc_free(pointer);
}
void operator delete(void* pointer, std::align_val_t, const std::nothrow_t&) noexcept {
    __libc_free(pointer);
}
void operator delete[](void* pointer, std::align_val_t, const std::nothrow_t&) noexcept {
    __libc_free(pointer);
}
