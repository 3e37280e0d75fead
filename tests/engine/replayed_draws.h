#pragma once

#include <cstdint>

// The draws of rand and rand2 for the differential tools, seen through the process-wide
// sequence: every evaluation under comparison starts it at the same seed, so two that draw alike
// end at the same state, and the values they drew, scaled by their arguments, show in their bits.
struct Draws {
    std::uint32_t end;    // where the sequence stood afterwards
    std::uint64_t count;  // how many steps took it there from the seed

    bool operator==(const Draws&) const = default;
};

// Starts the sequence at seed; DrawsSince then tells what the evaluations since took from it.
void RestartDraws(std::uint32_t seed);
Draws DrawsSince(std::uint32_t seed);
