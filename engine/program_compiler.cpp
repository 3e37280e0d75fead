#include <cstdlib>
#include <cstring>
#include <iterator>

#include "engine/operators.h"
#include "engine/program.h"
#include "engine/program_layout.h"
#include "engine/program_recording.h"
#include "library/scalar_functions.h"

namespace {

// While recording, a temporary's index is this tag plus its number; the constants' count, and so
// where the temporaries start, is known only at the end.
constexpr std::uint32_t kTemporaryTag = 0x8000;

// Calls that give the same value for the same arguments every time and do nothing else: over
// constants they are made once, here, and their rows may run in blocks. Any other call (rand,
// rand2, or whatever a caller put in the registry) makes the program run row by row.
constexpr Function1 kSteadyOne[] = {OpIdentity, OpNegate, Abs, Floor, Ceil, Sign, Sqrt, Exp, Log,
                                    Log2,       Log10,    Sin, Cos,   Tan,  Asin, Acos, Atan};
constexpr Function2 kSteadyTwo[] = {OpAdd,   OpSubtract, OpMultiply, OpDivide, OpModulo,
                                    OpPower, Max,        Min,        Atan2};
constexpr Function3 kSteadyThree[] = {Lerp, Clamp, Gray, Add3, Min3, Max3, Average3};
constexpr Function4 kSteadyFour[] = {Add4, Min4, Max4, Average4};

// The operators that run inline, by the function they stand for.
struct InlineOperator {
    Function2 function;
    StepKind kind;
};
constexpr InlineOperator kInlineOperators[] = {
    {OpAdd, StepKind::kAdd},
    {OpSubtract, StepKind::kSubtract},
    {OpMultiply, StepKind::kMultiply},
    {OpDivide, StepKind::kDivide},
    {Max, StepKind::kMax},
    {Min, StepKind::kMin},
};

template <typename Function, std::size_t Count>
bool Listed(Function function, const Function (&list)[Count]) {
    for (Function listed : list) {
        if (listed == function) return true;
    }
    return false;
}

int Arity(const SymbolDescriptor& row) {
    switch (row.kind) {
        case kUnarySign:
        case kFunction1:
            return 1;
        case kBinaryOperator:
        case kFunction2:
            return 2;
        case kFunction3:
            return 3;
        default:
            return 4;
    }
}

bool IsSteady(const ProgramStep& step, int arity) {
    switch (arity) {
        case 1:
            return Listed(step.one, kSteadyOne);
        case 2:
            return Listed(step.two, kSteadyTwo);
        case 3:
            return Listed(step.three, kSteadyThree);
        default:
            return Listed(step.four, kSteadyFour);
    }
}

StepKind KindOf(const ProgramStep& step, int arity) {
    if (arity == 1 && step.one == Abs) return StepKind::kAbs;
    if (arity == 2) {
        for (const InlineOperator& op : kInlineOperators) {
            if (op.function == step.two) return op.kind;
        }
    }
    if (arity == 3 && step.three == Lerp) return StepKind::kLerp;
    return StepKind::kCall;
}

float Call(const ProgramStep& step, int arity, const float* a) {
    switch (arity) {
        case 1:
            return step.one(a[0]);
        case 2:
            return step.two(a[0], a[1]);
        case 3:
            return step.three(a[0], a[1], a[2]);
        default:
            return step.four(a[0], a[1], a[2], a[3]);
    }
}

}  // namespace

struct ProgramRecorder {
    Program* program;
    std::uint32_t capacity;     // steps, and constants
    std::uint32_t depth;        // values delivered and not yet taken
    std::uint32_t temporaries;  // of them, how many are temporaries
    bool overflow;
    std::uint16_t stack[kTextCapacity];
};

namespace {

bool IsConstant(std::uint32_t index) {
    return index >= kInputCount && index < kTemporaryTag;
}

void Push(ProgramRecorder& recorder, std::uint32_t index) {
    if (recorder.depth == kTextCapacity) {
        recorder.overflow = true;
        return;
    }
    recorder.stack[recorder.depth++] = static_cast<std::uint16_t>(index);
}

void Pop(ProgramRecorder& recorder, int count) {
    for (int i = 0; i < count; ++i) {
        if (recorder.stack[--recorder.depth] >= kTemporaryTag) --recorder.temporaries;
    }
}

// Makes a steady call over constants now and keeps its value as a constant instead.
void Fold(ProgramRecorder& recorder, const ProgramStep& step, int arity) {
    Program& program = *recorder.program;
    float arguments[4];
    const std::uint16_t* in = recorder.stack + recorder.depth - arity;
    bool lastAdded = true;
    for (int i = 0; i < arity; ++i) {
        arguments[i] = program.constants[in[i] - kInputCount];
        lastAdded = lastAdded && in[i] == kInputCount + program.constantCount - arity + i;
    }
    // Constants that were the last ones added serve nothing any more and are taken back.
    Pop(recorder, arity);
    if (lastAdded) program.constantCount -= arity;
    RecordConstant(recorder, Call(step, arity, arguments));
}

// A power whose exponent is the constant 2.
bool IsSquare(const Program& program, const ProgramStep& step) {
    if (step.arity != 2 || step.two != OpPower || !IsConstant(step.in[1])) return false;
    return program.constants[step.in[1] - kInputCount] == 2.0f;
}

void AddStep(ProgramRecorder& recorder, ProgramStep& step, int arity) {
    Program& program = *recorder.program;
    if (program.stepCount == recorder.capacity) {
        recorder.overflow = true;
        return;
    }
    step.kind = KindOf(step, arity);
    step.arity = static_cast<std::uint8_t>(arity);
    for (int i = 0; i < arity; ++i)
        step.in[i] = recorder.stack[recorder.depth - arity + i];
    if (IsSquare(program, step)) {
        step.kind = StepKind::kSquare;
        step.arity = 1;
    }
    program.rowByRow = program.rowByRow || !IsSteady(step, arity);
    Pop(recorder, arity);
    std::uint32_t slot = 2 * recorder.temporaries;
    for (int i = 0; i < arity; ++i) {
        if (step.in[i] == kTemporaryTag + slot) ++slot;
    }
    step.out = static_cast<std::uint16_t>(kTemporaryTag + slot);
    ++recorder.temporaries;
    if (slot + 1 > program.temporaryCount) program.temporaryCount = slot + 1;
    Push(recorder, step.out);
    program.steps[program.stepCount++] = step;
}

// Where the temporaries start is known now: every tagged index gets its place.
std::uint16_t Placed(const Program& program, std::uint16_t index) {
    if (index < kTemporaryTag) return index;
    return static_cast<std::uint16_t>(FirstTemporary(program) + index - kTemporaryTag);
}

void PlaceTemporaries(Program& program) {
    for (std::uint32_t s = 0; s < program.stepCount; ++s) {
        ProgramStep& step = program.steps[s];
        step.out = Placed(program, step.out);
        for (std::uint16_t& in : step.in)
            in = Placed(program, in);
    }
    program.result = Placed(program, static_cast<std::uint16_t>(program.result));
}

// One block: the record, the steps and the end of their chain, then the constants.
Program* AllocateProgram(std::size_t length) {
    const std::size_t size =
        sizeof(Program) + (length + 1) * sizeof(ProgramStep) + length * sizeof(float);
    void* block = std::malloc(size);
    if (block == nullptr) return nullptr;
    auto* program = static_cast<Program*>(block);
    *program = Program{};
    program->steps = reinterpret_cast<ProgramStep*>(program + 1);
    program->constants = reinterpret_cast<float*>(program->steps + length + 1);
    return program;
}

}  // namespace

void RecordConstant(ProgramRecorder& recorder, float value) {
    Program& program = *recorder.program;
    if (program.constantCount == recorder.capacity) {
        recorder.overflow = true;
        return;
    }
    program.constants[program.constantCount] = value;
    Push(recorder, kInputCount + program.constantCount++);
}

void RecordVariable(ProgramRecorder& recorder, int index) {
    constexpr int kX = 'x' - 'a';
    if (index < kX) {
        RecordConstant(recorder, 0.0f);
        return;
    }
    Push(recorder, static_cast<std::uint32_t>(index - kX));
}

float RecordCall(ProgramRecorder& recorder, const SymbolDescriptor& row) {
    const int arity = Arity(row);
    if (recorder.overflow || recorder.depth < static_cast<std::uint32_t>(arity)) {
        recorder.overflow = true;
        return 0.0f;
    }
    // The identity hands its argument on unchanged, bit for bit.
    if (arity == 1 && row.one == OpIdentity) return 0.0f;
    ProgramStep step{};
    step.one = row.one;
    step.two = row.two;
    step.three = row.three;
    step.four = row.four;
    bool constants = true;
    for (int i = 0; i < arity; ++i)
        constants = constants && IsConstant(recorder.stack[recorder.depth - arity + i]);
    if (constants && IsSteady(step, arity)) {
        Fold(recorder, step, arity);
    } else {
        AddStep(recorder, step, arity);
    }
    return 0.0f;
}

Program* PrepareProgram(const char* text, FailureReport* report) {
    if (report != nullptr) *report = {FailureReason::kNone, 0, nullptr};
    if (text == nullptr) {
        if (report != nullptr) report->reason = FailureReason::kEmptyExpression;
        return nullptr;
    }
    const std::size_t length = strnlen(text, kTextCapacity);
    if (length == kTextCapacity) {
        if (report != nullptr) report->reason = FailureReason::kExpressionTooLong;
        return nullptr;
    }
    Program* program = AllocateProgram(length);
    if (program == nullptr) {
        if (report != nullptr) report->reason = FailureReason::kOutOfMemory;
        return nullptr;
    }
    ProgramRecorder recorder{program, static_cast<std::uint32_t>(length), 0, 0, false, {}};
    if (!RecordExpression(text, report, recorder)) {
        std::free(program);
        return nullptr;
    }
    // The bound above keeps every text within its program; a text past it would fail here.
    if (recorder.overflow || recorder.depth != 1) {
        if (report != nullptr) report->reason = FailureReason::kExpressionTooLong;
        std::free(program);
        return nullptr;
    }
    program->result = recorder.stack[0];
    PlaceTemporaries(*program);
    ChainSingleRowSteps(*program);
    return program;
}

void ReleaseProgram(Program* program) {
    std::free(program);
}
