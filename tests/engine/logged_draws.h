#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Stand-ins for rand and rand2 for the differential tools: each draw is logged (which function,
// and the bits of its arguments) and taken from a sequence the tool restarts at will, so two
// evaluations can be compared draw by draw.
struct DrawLog {
    std::vector<std::uint64_t> draws;
    std::uint32_t state = 0;

    void Restart(std::uint32_t seed) {
        draws.clear();
        state = seed;
    }
};

extern DrawLog g_drawLog;

float LoggedRand(float x);
float LoggedRand2(float a, float b);

// The text with every byte outside printable ASCII as \xNN, for a report.
std::string Escaped(const std::string& text);
