#include "library/random_generator.h"

namespace {

constexpr std::uint32_t kMultiplier = 214013u;
constexpr std::uint32_t kIncrement = 2531011u;

// Shared by every call without a lock: evaluation runs on one thread.
std::uint32_t g_randomState = kRandomStartState;

}  // namespace

int DrawRandom15From(std::uint32_t& state) {
    // Unsigned arithmetic wraps modulo 2^32, which is the generator's modulus.
    state = state * kMultiplier + kIncrement;
    return static_cast<int>((state >> 16) & 0x7FFFu);
}

int DrawRandom15() {
    return DrawRandom15From(g_randomState);
}
