#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

#include "engine/operators.h"
#include "engine/program.h"
#include "engine/program_layout.h"
#include "library/scalar_functions.h"

namespace {

// Rows run in blocks, step by step over the block, each step one tight loop. A block of rows of
// every temporary fits in kBlockFloats, so a long program runs fewer rows at once.
constexpr std::size_t kBlockRows = 1024;
constexpr std::size_t kBlockFloats = 8192;
static_assert(kBlockFloats / (3 * kTextCapacity) >= 1);

// What a missing x, y or z reads.
constexpr float kZeros[kBlockRows] = {};

// A block's values of one index: rows apart by stride, 0 for a constant.
struct Column {
    const float* at;
    std::size_t stride;
};

// The values of the block of rows at hand.
struct Block {
    const float* inputs[kInputCount];
    float* temporaries;
    std::size_t width;  // rows between a temporary and the next
    std::size_t rows;
};

Column ColumnOf(const Program& program, const Block& block, std::uint32_t index) {
    if (index < kInputCount) return {block.inputs[index], 1};
    const std::uint32_t first = FirstTemporary(program);
    if (index < first) return {&program.constants[index - kInputCount], 0};
    return {block.temporaries + (index - first) * block.width, 1};
}

// The operators over floats for the loops below, which then run four rows at once. For floats,
// + - * and / in single precision round to the very value the operators' double-precision bodies
// give (the exact result is held closely enough that rounding twice is rounding once), and a NaN
// comes through with the same payload.
float AddSingle(float a, float b) {
    return a + SecondOperand(a, b);
}
float SubtractSingle(float a, float b) {
    return a - b;
}
float MultiplySingle(float a, float b) {
    return a * SecondOperand(a, b);
}
float DivideSingle(float a, float b) {
    if (IsTinyDivisor(b)) return a > 0.0f ? FLT_MAX : -FLT_MAX;
    return a / b;
}

// lerp's body, written out for the loop with the operand order its compiled form keeps on two NaNs:
// (b - a) * t keeps b - a's, and a + (b - a) * t keeps a's. The compiler vectorises the choice
// when it is asked through std::isnan, not through a comparison.
void RunLerp(float* out, const float* a, const float* b, const float* t, std::size_t rows) {
    for (std::size_t r = 0; r < rows; ++r) {
        const double from = a[r];
        const double weight = t[r];
        const double span = static_cast<double>(b[r]) - from;
        const double step = span * (std::isnan(span) ? span : weight);
        out[r] = RoundToSingle(from + (std::isnan(from) ? from : step));
    }
}

// The same without choosing the NaN: with at most one operand that can be NaN, the operand order
// has no payload to choose between.
float AddPlain(float a, float b) {
    return a + b;
}
float MultiplyPlain(float a, float b) {
    return a * b;
}
float DividePlain(float a, float b) {
    return a / b;
}

// Division's Plain leaves out the guard, which a divisor that varies by row needs.
template <float (*Operator)(float, float)>
constexpr bool kGuardsDivisor = Operator == DivideSingle;

// Whether Plain gives what Operator gives on every row where the left operand is this constant:
// a number leaves only one NaN. (A constant on the right: PlainWithConstant.)
template <float (*Operator)(float, float)>
bool PlainServesLeft(float constant) {
    return !kGuardsDivisor<Operator> && !std::isnan(constant);
}

// A power of two divides as its reciprocal multiplies: the reciprocal is exact, so both round the
// same real number, and a NaN dividend comes through either way.
bool IsPowerOfTwo(float value) {
    int exponent = 0;
    return std::isfinite(value) && std::fabs(std::frexp(value, &exponent)) == 0.5f;
}

template <float (*Operator)(float, float), float (*Plain)(float, float)>
void RunWithLeftConstant(float* out, float left, const float* b, std::size_t rows) {
    if (!PlainServesLeft<Operator>(left)) {
        for (std::size_t r = 0; r < rows; ++r)
            out[r] = Operator(left, b[r]);
        return;
    }
    for (std::size_t r = 0; r < rows; ++r)
        out[r] = Plain(left, b[r]);
}

// Plain serves where the left operand is a constant it serves for, or, but for division, where
// both operands are the same column. A column and a constant on the right that a plain operation
// serves for never get here (RunPlain).
template <float (*Operator)(float, float), float (*Plain)(float, float) = Operator>
void RunOperator(float* out, Column a, Column b, std::size_t rows) {
    if (a.stride == 0 && b.stride == 1)
        return RunWithLeftConstant<Operator, Plain>(out, a.at[0], b.at, rows);
    if (a.stride == 1 && b.stride == 0) {
        const float right = b.at[0];
        for (std::size_t r = 0; r < rows; ++r)
            out[r] = Operator(a.at[r], right);
        return;
    }
    if (a.stride == 1 && b.stride == 1 && !kGuardsDivisor<Operator> && a.at == b.at) {
        for (std::size_t r = 0; r < rows; ++r)
            out[r] = Plain(a.at[r], a.at[r]);
        return;
    }
    for (std::size_t r = 0; r < rows; ++r)
        out[r] = Operator(a.at[r * a.stride], b.at[r * b.stride]);
}

template <float (*Function)(float)>
void RunUnary(float* out, Column a, std::size_t rows) {
    for (std::size_t r = 0; r < rows; ++r)
        out[r] = Function(a.at[r * a.stride]);
}

// A column with a value on every row: itself, or its constant written out into spare.
const float* Spread(Column column, float (&spare)[kBlockRows], std::size_t rows) {
    if (column.stride == 1) return column.at;
    std::fill_n(spare, rows, column.at[0]);
    return spare;
}

void RunCall(const ProgramStep& step, float* out, const Column (&in)[4], std::size_t rows) {
    const auto at = [&](int i, std::size_t r) { return in[i].at[r * in[i].stride]; };
    switch (step.arity) {
        case 1:
            for (std::size_t r = 0; r < rows; ++r)
                out[r] = step.one(at(0, r));
            return;
        case 2:
            for (std::size_t r = 0; r < rows; ++r)
                out[r] = step.two(at(0, r), at(1, r));
            return;
        case 3:
            for (std::size_t r = 0; r < rows; ++r)
                out[r] = step.three(at(0, r), at(1, r), at(2, r));
            return;
        default:
            for (std::size_t r = 0; r < rows; ++r)
                out[r] = step.four(at(0, r), at(1, r), at(2, r), at(3, r));
            return;
    }
}

void RunStep(const Program& program, const Block& block, const ProgramStep& step) {
    float* out = block.temporaries + (step.out - FirstTemporary(program)) * block.width;
    Column in[4];
    for (int i = 0; i < step.arity; ++i)
        in[i] = ColumnOf(program, block, step.in[i]);
    const std::size_t rows = block.rows;
    switch (step.kind) {
        case StepKind::kAdd:
            return RunOperator<AddSingle, AddPlain>(out, in[0], in[1], rows);
        case StepKind::kSubtract:
            return RunOperator<SubtractSingle>(out, in[0], in[1], rows);
        case StepKind::kMultiply:
            return RunOperator<MultiplySingle, MultiplyPlain>(out, in[0], in[1], rows);
        case StepKind::kDivide:
            return RunOperator<DivideSingle, DividePlain>(out, in[0], in[1], rows);
        case StepKind::kMax:
            return RunOperator<Max>(out, in[0], in[1], rows);
        case StepKind::kMin:
            return RunOperator<Min>(out, in[0], in[1], rows);
        case StepKind::kSquare:
            return RunUnary<OpSquare>(out, in[0], rows);
        case StepKind::kAbs:
            return RunUnary<Abs>(out, in[0], rows);
        case StepKind::kLerp: {
            float spare[3][kBlockRows];
            return RunLerp(out, Spread(in[0], spare[0], rows), Spread(in[1], spare[1], rows),
                           Spread(in[2], spare[2], rows), rows);
        }
        case StepKind::kCall:
            return RunCall(step, out, in, rows);
    }
}

// The plain operations that a step with a constant right operand may run as, by number.
constexpr float (*kPlainOperators[])(float, float) = {AddPlain, SubtractSingle, MultiplyPlain,
                                                      DividePlain};
constexpr int kPlainAdd = 0;
constexpr int kPlainMultiply = 2;

// The number of the plain operation an arithmetic step runs as when its right operand is a
// constant it serves for, with that constant: a number leaves only one NaN, a divisor that is
// not tiny needs no guard, and a power-of-two divisor becomes the multiplier of its reciprocal.
// -1 for any other step.
int PlainWithConstant(const Program& program, const Block& block, const ProgramStep& step,
                      float& constant) {
    if (step.kind > StepKind::kDivide) return -1;
    const Column right = ColumnOf(program, block, step.in[1]);
    if (right.stride != 0) return -1;
    constant = right.at[0];
    switch (step.kind) {
        case StepKind::kAdd:
            return std::isnan(constant) ? -1 : kPlainAdd;
        case StepKind::kSubtract:
            return 1;
        case StepKind::kMultiply:
            return std::isnan(constant) ? -1 : kPlainMultiply;
        default:
            if (IsTinyDivisor(constant)) return -1;
            if (!IsPowerOfTwo(constant)) return 3;
            constant = 1.0f / constant;
            return kPlainMultiply;
    }
}

template <int Plain>
void RunPlainLoop(float* out, const float* a, float constant, std::size_t rows) {
    for (std::size_t r = 0; r < rows; ++r)
        out[r] = kPlainOperators[Plain](a[r], constant);
}

// A step that takes one column and a constant a plain operation serves for, as that operation.
// False, with nothing run, for any other step.
bool RunPlain(const Program& program, const Block& block, const ProgramStep& step) {
    const Column a = ColumnOf(program, block, step.in[0]);
    float constant = 0.0f;
    const int plain = PlainWithConstant(program, block, step, constant);
    if (a.stride != 1 || plain < 0) return false;
    float* out = block.temporaries + (step.out - FirstTemporary(program)) * block.width;
    switch (plain) {
        case 0:
            RunPlainLoop<0>(out, a.at, constant, block.rows);
            break;
        case 1:
            RunPlainLoop<1>(out, a.at, constant, block.rows);
            break;
        case 2:
            RunPlainLoop<2>(out, a.at, constant, block.rows);
            break;
        default:
            RunPlainLoop<3>(out, a.at, constant, block.rows);
            break;
    }
    return true;
}

template <int First, int Second>
void RunPairLoop(float* out, const float* a, float first, float second, std::size_t rows) {
    for (std::size_t r = 0; r < rows; ++r)
        out[r] = kPlainOperators[Second](kPlainOperators[First](a[r], first), second);
}

template <int First>
void RunPairAfter(int second, float* out, const float* a, float c1, float c2, std::size_t rows) {
    switch (second) {
        case 0:
            return RunPairLoop<First, 0>(out, a, c1, c2, rows);
        case 1:
            return RunPairLoop<First, 1>(out, a, c1, c2, rows);
        case 2:
            return RunPairLoop<First, 2>(out, a, c1, c2, rows);
        default:
            return RunPairLoop<First, 3>(out, a, c1, c2, rows);
    }
}

// Two steps that each take one column and a constant, the second the first's result, as one loop
// that keeps the first's value in a register: (x + 1) * 2 reads and writes the block once. The
// first's result is a temporary nothing else reads. False, with nothing run, for any other pair.
bool RunPair(const Program& program, const Block& block, const ProgramStep& step,
             const ProgramStep& next) {
    if (next.in[0] != step.out) return false;
    const Column a = ColumnOf(program, block, step.in[0]);
    float c1 = 0.0f;
    float c2 = 0.0f;
    const int first = PlainWithConstant(program, block, step, c1);
    const int second = PlainWithConstant(program, block, next, c2);
    if (a.stride != 1 || first < 0 || second < 0) return false;
    float* out = block.temporaries + (next.out - FirstTemporary(program)) * block.width;
    switch (first) {
        case 0:
            RunPairAfter<0>(second, out, a.at, c1, c2, block.rows);
            break;
        case 1:
            RunPairAfter<1>(second, out, a.at, c1, c2, block.rows);
            break;
        case 2:
            RunPairAfter<2>(second, out, a.at, c1, c2, block.rows);
            break;
        default:
            RunPairAfter<3>(second, out, a.at, c1, c2, block.rows);
            break;
    }
    return true;
}

void RunSteps(const Program& program, const Block& block) {
    for (std::uint32_t s = 0; s < program.stepCount; ++s) {
        const bool paired = s + 1 < program.stepCount &&
                            RunPair(program, block, program.steps[s], program.steps[s + 1]);
        if (paired) {
            ++s;
        } else if (!RunPlain(program, block, program.steps[s])) {
            RunStep(program, block, program.steps[s]);
        }
    }
}

// Every step over one block, with the loops inlined: once for any processor, and on x86-64 once
// more for those with AVX2, which run eight rows at a time. Both round every operation the same,
// as IEEE arithmetic is the same at any width, and the compilation never contracts a multiply and
// an add.
using BlockRunner = void (*)(const Program& program, const Block& block);

[[gnu::flatten]] void RunBlock(const Program& program, const Block& block) {
    RunSteps(program, block);
}

#if defined(__x86_64__)
[[gnu::target("avx2"), gnu::flatten]] void RunBlockWide(const Program& program,
                                                        const Block& block) {
    RunSteps(program, block);
}

BlockRunner ChooseBlockRunner() {
    return __builtin_cpu_supports("avx2") ? RunBlockWide : RunBlock;
}
#else
BlockRunner ChooseBlockRunner() {
    return RunBlock;
}
#endif

// Where a single-row operator finds an operand: the previous step's value, a slot of values,
// or the step's constant.
enum Source { kPrevious, kSlot, kConstant };

template <Source source>
float Operand(const ProgramStep* step, int i, float acc, const float* values) {
    if constexpr (source == kPrevious) return acc;
    if constexpr (source == kConstant) return step->constant;
    return values[step->in[i]];
}

// A call in tail position, which the compiler makes a jump: a row runs as one chain of jumps.
float Next(const ProgramStep* step, float value, float* values) {
    values[step->out] = value;
    return step[1].single(step + 1, value, values);
}

template <float (*Operator)(float, float), Source first, Source second>
float SingleOperator(const ProgramStep* step, float acc, float* values) {
    const float value =
        Operator(Operand<first>(step, 0, acc, values), Operand<second>(step, 1, acc, values));
    return Next(step, value, values);
}

template <float (*Function)(float), Source source>
float SingleUnary(const ProgramStep* step, float acc, float* values) {
    return Next(step, Function(Operand<source>(step, 0, acc, values)), values);
}

float SingleCall1(const ProgramStep* step, float, float* values) {
    return Next(step, step->one(values[step->in[0]]), values);
}
float SingleCall2(const ProgramStep* step, float, float* values) {
    return Next(step, step->two(values[step->in[0]], values[step->in[1]]), values);
}
float SingleCall3(const ProgramStep* step, float, float* values) {
    const std::uint16_t* in = step->in;
    return Next(step, step->three(values[in[0]], values[in[1]], values[in[2]]), values);
}
float SingleCall4(const ProgramStep* step, float, float* values) {
    const std::uint16_t* in = step->in;
    return Next(step, step->four(values[in[0]], values[in[1]], values[in[2]], values[in[3]]),
                values);
}

float EndOfChain(const ProgramStep*, float acc, float*) {
    return acc;
}

// Each operator's routines by the sources of its operands, first * 3 + second.
template <float (*Operator)(float, float)>
constexpr SingleRowRoutine kOperatorRoutines[9] = {
    SingleOperator<Operator, kPrevious, kPrevious>, SingleOperator<Operator, kPrevious, kSlot>,
    SingleOperator<Operator, kPrevious, kConstant>, SingleOperator<Operator, kSlot, kPrevious>,
    SingleOperator<Operator, kSlot, kSlot>,         SingleOperator<Operator, kSlot, kConstant>,
    SingleOperator<Operator, kConstant, kPrevious>, SingleOperator<Operator, kConstant, kSlot>,
    SingleOperator<Operator, kConstant, kConstant>,
};

// By StepKind, up to kLerp.
constexpr const SingleRowRoutine* kRoutinesByKind[] = {
    kOperatorRoutines<AddSingle>,
    kOperatorRoutines<SubtractSingle>,
    kOperatorRoutines<MultiplySingle>,
    kOperatorRoutines<DivideSingle>,
    kOperatorRoutines<Max>,
    kOperatorRoutines<Min>,
};
static_assert(std::size(kRoutinesByKind) == static_cast<std::size_t>(StepKind::kSquare));

// The inline one-operand steps by StepKind from kSquare, each by its operand's source. A constant
// operand was folded.
constexpr SingleRowRoutine kUnaryRoutines[][2] = {
    {SingleUnary<OpSquare, kPrevious>, SingleUnary<OpSquare, kSlot>},
    {SingleUnary<Abs, kPrevious>, SingleUnary<Abs, kSlot>},
};
static_assert(std::size(kUnaryRoutines) == static_cast<std::size_t>(StepKind::kLerp) -
                                               static_cast<std::size_t>(StepKind::kSquare));
constexpr SingleRowRoutine kCallRoutines[] = {SingleCall1, SingleCall2, SingleCall3, SingleCall4};

const float* InputAt(const float* column, std::size_t row) {
    return column != nullptr ? column + row : kZeros;
}

}  // namespace

float RunProgram(const Program& program, float x, float y, float z) {
    float values[kValueCapacity];
    values[0] = x;
    values[1] = y;
    values[2] = z;
    for (std::uint32_t i = 0; i < program.copiedConstants; ++i)
        values[kInputCount + i] = program.constants[i];
    if (program.stepCount == 0) return values[program.result];
    return program.steps[0].single(program.steps, 0.0f, values);
}

void RunProgramRows(const Program& program, std::size_t count, const float* x, const float* y,
                    const float* z, float* results) {
    if (program.rowByRow) {
        for (std::size_t r = 0; r < count; ++r) {
            results[r] = RunProgram(program, x != nullptr ? x[r] : 0.0f, y != nullptr ? y[r] : 0.0f,
                                    z != nullptr ? z[r] : 0.0f);
        }
        return;
    }
    float temporaries[kBlockFloats];
    const BlockRunner runBlock = ChooseBlockRunner();
    const std::size_t width =
        std::min(kBlockRows, kBlockFloats / std::max<std::size_t>(program.temporaryCount, 1));
    for (std::size_t start = 0; start < count; start += width) {
        const std::size_t rows = std::min(width, count - start);
        const Block block{
            {InputAt(x, start), InputAt(y, start), InputAt(z, start)}, temporaries, width, rows};
        runBlock(program, block);
        const Column result = ColumnOf(program, block, program.result);
        if (result.stride == 1) {
            std::copy_n(result.at, rows, results + start);
        } else {
            std::fill_n(results + start, rows, result.at[0]);
        }
    }
}

void ChainSingleRowSteps(Program& program) {
    const std::uint32_t first = FirstTemporary(program);
    const auto isConstant = [&](std::uint32_t index) {
        return index >= kInputCount && index < first;
    };
    std::uint32_t copied = isConstant(program.result) ? program.result + 1 - kInputCount : 0;
    for (std::uint32_t s = 0; s < program.stepCount; ++s) {
        ProgramStep& step = program.steps[s];
        const auto kind = static_cast<int>(step.kind);
        if (step.kind >= StepKind::kLerp) {
            step.single = kCallRoutines[step.arity - 1];
            for (int i = 0; i < step.arity; ++i) {
                if (isConstant(step.in[i])) copied = std::max(copied, step.in[i] + 1 - kInputCount);
            }
            continue;
        }
        if (step.kind >= StepKind::kSquare) {
            const bool previous =
                s > 0 && step.in[0] >= first && step.in[0] == program.steps[s - 1].out;
            step.single =
                kUnaryRoutines[kind - static_cast<int>(StepKind::kSquare)][previous ? 0 : 1];
            continue;
        }
        int sources[2];
        for (int i = 0; i < 2; ++i) {
            const std::uint32_t index = step.in[i];
            sources[i] = kSlot;
            if (s > 0 && index >= first && index == program.steps[s - 1].out)
                sources[i] = kPrevious;
            if (isConstant(index)) {
                sources[i] = kConstant;
                step.constant = program.constants[index - kInputCount];
            }
        }
        // Two constants are folded before they get here; were they not, the first would come
        // from the copied ones.
        if (sources[0] == kConstant && sources[1] == kConstant) {
            sources[0] = kSlot;
            copied = std::max(copied, step.in[0] + 1 - kInputCount);
        }
        step.single = kRoutinesByKind[kind][sources[0] * 3 + sources[1]];
    }
    program.steps[program.stepCount].single = EndOfChain;
    program.copiedConstants = copied;
}
