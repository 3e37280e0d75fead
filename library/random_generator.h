#pragma once

#include <cstdint>

// The process-wide, never-seeded generator of 15-bit integers behind "rand" and "rand2".
// It is the engine's own so the sequence is the same on every platform.

// One draw: an integer from 0 to 32767.
int DrawRandom15();
