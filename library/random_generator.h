#pragma once

#include <cstdint>

// The process-wide, never-seeded generator of 15-bit integers behind "rand" and "rand2".
// It is the engine's own so the sequence is the same on every platform.

// The state the process-wide generator starts from.
inline constexpr std::uint32_t kRandomStartState = 1;

// One step of the generator over a caller's state: advances it and yields 0 to 32767.
int DrawRandom15From(std::uint32_t& state);

// One draw from the process-wide generator: an integer from 0 to 32767. Threads may draw at
// once; each draw is one step of the single sequence.
int DrawRandom15();

// Where the process-wide sequence stands, and a way to move it: for a tool that replays one
// stretch of the sequence for two evaluations and compares where each left it.
std::uint32_t RandomState();
void SetRandomState(std::uint32_t state);
