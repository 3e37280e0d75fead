#include <algorithm>
#include <cstring>

#include "engine/operators.h"
#include "engine/program.h"
#include "engine/program_layout.h"

namespace {

// Rows run in blocks, step by step over the block, each step one tight loop. A block of rows of
// every temporary fits in kBlockFloats, so a long program runs fewer rows at once.
constexpr std::size_t kBlockRows = 256;
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

template <float (*Operator)(float, float)>
void RunOperator(float* out, Column a, Column b, std::size_t rows) {
    if (a.stride == 1 && b.stride == 1) {
        for (std::size_t r = 0; r < rows; ++r)
            out[r] = Operator(a.at[r], b.at[r]);
    } else if (a.stride == 1 && b.stride == 0) {
        const float right = b.at[0];
        for (std::size_t r = 0; r < rows; ++r)
            out[r] = Operator(a.at[r], right);
    } else if (a.stride == 0 && b.stride == 1) {
        const float left = a.at[0];
        for (std::size_t r = 0; r < rows; ++r)
            out[r] = Operator(left, b.at[r]);
    } else {
        for (std::size_t r = 0; r < rows; ++r)
            out[r] = Operator(a.at[r * a.stride], b.at[r * b.stride]);
    }
}

void RunStep(const Program& program, const Block& block, const ProgramStep& step) {
    float* out = block.temporaries + (step.out - FirstTemporary(program)) * block.width;
    const Column a = ColumnOf(program, block, step.in[0]);
    const Column b = ColumnOf(program, block, step.in[1]);
    const std::size_t rows = block.rows;
    switch (step.kind) {
        case StepKind::kAdd:
            return RunOperator<OpAdd>(out, a, b, rows);
        case StepKind::kSubtract:
            return RunOperator<OpSubtract>(out, a, b, rows);
        case StepKind::kMultiply:
            return RunOperator<OpMultiply>(out, a, b, rows);
        case StepKind::kDivide:
            return RunOperator<OpDivide>(out, a, b, rows);
        case StepKind::kCall1:
            for (std::size_t r = 0; r < rows; ++r)
                out[r] = step.one(a.at[r * a.stride]);
            return;
        case StepKind::kCall2:
            for (std::size_t r = 0; r < rows; ++r)
                out[r] = step.two(a.at[r * a.stride], b.at[r * b.stride]);
            return;
        case StepKind::kCall3: {
            const Column c = ColumnOf(program, block, step.in[2]);
            for (std::size_t r = 0; r < rows; ++r)
                out[r] = step.three(a.at[r * a.stride], b.at[r * b.stride], c.at[r * c.stride]);
            return;
        }
        case StepKind::kCall4: {
            const Column c = ColumnOf(program, block, step.in[2]);
            const Column d = ColumnOf(program, block, step.in[3]);
            for (std::size_t r = 0; r < rows; ++r) {
                out[r] = step.four(a.at[r * a.stride], b.at[r * b.stride], c.at[r * c.stride],
                                   d.at[r * d.stride]);
            }
            return;
        }
    }
}

const float* InputAt(const float* column, std::size_t row) {
    return column != nullptr ? column + row : kZeros;
}

}  // namespace

float RunProgram(const Program& program, float x, float y, float z) {
    float values[kValueCapacity];
    values[0] = x;
    values[1] = y;
    values[2] = z;
    std::memcpy(values + kInputCount, program.constants, program.constantCount * sizeof(float));
    const ProgramStep* const end = program.steps + program.stepCount;
    for (const ProgramStep* step = program.steps; step != end; ++step) {
        const float* a = &values[step->in[0]];
        float& out = values[step->out];
        switch (step->kind) {
            case StepKind::kAdd:
                out = OpAdd(*a, values[step->in[1]]);
                break;
            case StepKind::kSubtract:
                out = OpSubtract(*a, values[step->in[1]]);
                break;
            case StepKind::kMultiply:
                out = OpMultiply(*a, values[step->in[1]]);
                break;
            case StepKind::kDivide:
                out = OpDivide(*a, values[step->in[1]]);
                break;
            case StepKind::kCall1:
                out = step->one(*a);
                break;
            case StepKind::kCall2:
                out = step->two(*a, values[step->in[1]]);
                break;
            case StepKind::kCall3:
                out = step->three(*a, values[step->in[1]], values[step->in[2]]);
                break;
            case StepKind::kCall4:
                out = step->four(*a, values[step->in[1]], values[step->in[2]], values[step->in[3]]);
                break;
        }
    }
    return values[program.result];
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
    const std::size_t width =
        std::min(kBlockRows, kBlockFloats / std::max<std::size_t>(program.temporaryCount, 1));
    for (std::size_t start = 0; start < count; start += width) {
        const std::size_t rows = std::min(width, count - start);
        const Block block{
            {InputAt(x, start), InputAt(y, start), InputAt(z, start)}, temporaries, width, rows};
        for (std::uint32_t s = 0; s < program.stepCount; ++s)
            RunStep(program, block, program.steps[s]);
        const Column result = ColumnOf(program, block, program.result);
        for (std::size_t r = 0; r < rows; ++r)
            results[start + r] = result.at[r * result.stride];
    }
}
