#pragma once

#include <cstdint>

#include "engine/symbol_descriptor.h"

// How a prepared program lies in its one allocation. Every value a step reads or writes has an
// index: x, y and z first, then the constants, then the temporaries, which are reused as soon as
// the step that needs them has run. A step never writes a temporary it reads, so that a loop over
// a block of rows may run vectorised: a temporary is the 2p-th or the (2p+1)-th, where p is how
// many temporaries evaluation holds beneath it, the other one than an argument in that place.

inline constexpr std::uint32_t kInputCount = 3;  // x, y, z

// A text of this many bytes or more is refused as too long, as a request refuses it. Every step
// and every constant stands for its own byte of the text (an operator, a sign, a function's name,
// a literal's first character), so a text of n bytes needs at most n of each, and at most twice n
// temporaries.
inline constexpr std::uint32_t kTextCapacity = 1024;
inline constexpr std::uint32_t kValueCapacity = kInputCount + 3 * kTextCapacity;

// The four arithmetic operators, max, min, a power of two, abs and lerp run inline; every other
// call goes through its typed slot (so does lerp, where a row runs alone).
enum class StepKind : std::uint8_t {
    kAdd,
    kSubtract,
    kMultiply,
    kDivide,
    kMax,
    kMin,
    kSquare,  // a ^ 2 (or pow(a, 2)): one operand, the constant 2 left out
    kAbs,
    kLerp,
    kCall,
};

struct ProgramStep;

// One row runs as a chain: each step's own routine computes it, with the previous step's value at
// hand in acc, stores it and hands on to the next step's routine, and the step after the last
// returns it. values holds x, y, z, the constants that calls read, and the temporaries.
using SingleRowRoutine = float (*)(const ProgramStep* step, float acc, float* values);

struct ProgramStep {
    StepKind kind;
    std::uint8_t arity;
    std::uint16_t out;
    std::uint16_t in[4];
    SingleRowRoutine single;
    float constant;  // an operator's constant operand, taken from the step itself
    Function1 one;
    Function2 two;
    Function3 three;
    Function4 four;
};

struct Program {
    ProgramStep* steps;
    float* constants;
    std::uint32_t stepCount;
    std::uint32_t constantCount;
    std::uint32_t temporaryCount;
    std::uint32_t result;  // the index of the value the expression gives
    // A row copies the constants below this index to its values (those calls read, and the
    // result when it is one); operators take theirs from their steps.
    std::uint32_t copiedConstants;
    // Some step may draw or otherwise depend on more than its arguments: rows then run one by
    // one, each through every step, as evaluating the text row by row would.
    bool rowByRow;
};

// The index of the first temporary.
inline std::uint32_t FirstTemporary(const Program& program) {
    return kInputCount + program.constantCount;
}

// Chooses each step's single-row routine and the constants a row copies; steps[stepCount] is
// the end of the chain.
void ChainSingleRowSteps(Program& program);
