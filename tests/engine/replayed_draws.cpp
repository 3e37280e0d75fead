#include "tests/engine/replayed_draws.h"

#include "library/random_generator.h"

namespace {

// More draws than any compared batch takes; past it the count is reported as this, and the end
// state still tells the two sides apart.
constexpr std::uint64_t kCountLimit = std::uint64_t{1} << 24;

}  // namespace

void RestartDraws(std::uint32_t seed) {
    SetRandomState(seed);
}

Draws DrawsSince(std::uint32_t seed) {
    const std::uint32_t end = RandomState();
    std::uint32_t state = seed;
    std::uint64_t count = 0;
    while (state != end && count < kCountLimit) {
        DrawRandom15From(state);
        ++count;
    }
    return {end, count};
}
