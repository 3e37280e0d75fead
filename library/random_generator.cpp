#include "library/random_generator.h"

#include <atomic>

namespace {

constexpr std::uint32_t kMultiplier = 214013u;
constexpr std::uint32_t kIncrement = 2531011u;

// One sequence for the whole process, whichever thread draws. Nothing else is ordered by it, so
// relaxed order suffices: the compare-exchange alone makes every draw a distinct step.
std::atomic<std::uint32_t> g_randomState{kRandomStartState};

}  // namespace

int DrawRandom15From(std::uint32_t& state) {
    // Unsigned arithmetic wraps modulo 2^32, which is the generator's modulus.
    state = state * kMultiplier + kIncrement;
    return static_cast<int>((state >> 16) & 0x7FFFu);
}

// A step is taken only if no other thread took one since the state was read; otherwise it is
// retried from the state that thread left, so no draw is lost or repeated.
int DrawRandom15() {
    std::uint32_t before = g_randomState.load(std::memory_order_relaxed);
    std::uint32_t after = before;
    int draw = DrawRandom15From(after);
    while (!g_randomState.compare_exchange_weak(before, after, std::memory_order_relaxed)) {
        after = before;
        draw = DrawRandom15From(after);
    }
    return draw;
}

std::uint32_t RandomState() {
    return g_randomState.load(std::memory_order_relaxed);
}

void SetRandomState(std::uint32_t state) {
    g_randomState.store(state, std::memory_order_relaxed);
}
