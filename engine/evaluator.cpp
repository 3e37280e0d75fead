#include "engine/evaluator.h"

#include <array>
#include <cstring>

#include "engine/evaluation.h"
#include "engine/groups_and_calls.h"
#include "engine/lexical_rules.h"
#include "engine/name_tables.h"
#include "engine/numeric_literals.h"
#include "engine/operators.h"
#include "engine/program_recording.h"

namespace {

// The working record of one evaluation of a span.
struct EvalState {
    std::int32_t cursor;
    std::int32_t end;    // the NUL, closer or comma after the span
    std::int32_t count;  // operands held in acc
    std::int32_t level;  // pending operators: lowOp from 1, highOp at 2
    float operand;       // what the operand stage just delivered
    float acc[3];
    const SymbolDescriptor* lowOp;   // joins acc[0] and acc[1]
    const SymbolDescriptor* highOp;  // joins acc[1] and acc[2]
    const SymbolDescriptor* sign;    // the leading sign, until the first operand takes it
    ProgramRecorder* recorder;       // the expression's, while a program is prepared
};

constexpr SymbolDescriptor kSignTable[2] = {
    NamedSymbol("+", kUnarySign, &SymbolDescriptor::one, OpIdentity),
    NamedSymbol("-", kUnarySign, &SymbolDescriptor::one, OpNegate),
};

constexpr SymbolDescriptor kOperatorTable[6] = {
    NamedSymbol("+", kBinaryOperator, &SymbolDescriptor::two, OpAdd),
    NamedSymbol("-", kBinaryOperator, &SymbolDescriptor::two, OpSubtract),
    NamedSymbol("*", kBinaryOperator, &SymbolDescriptor::two, OpMultiply),
    NamedSymbol("/", kBinaryOperator, &SymbolDescriptor::two, OpDivide),
    NamedSymbol("%", kBinaryOperator, &SymbolDescriptor::two, OpModulo),
    NamedSymbol("^", kBinaryOperator, &SymbolDescriptor::two, OpPower),
};

using RowsByByte = std::array<const SymbolDescriptor*, 256>;

// Rows are matched by the first character of their name; the first row with it wins.
template <std::size_t Count>
constexpr RowsByByte ByFirstCharacter(const SymbolDescriptor (&table)[Count]) {
    RowsByByte rows{};
    for (std::size_t i = Count; i-- > 0;)
        rows[static_cast<unsigned char>(table[i].name[0])] = &table[i];
    return rows;
}

constexpr RowsByByte kSignByByte = ByFirstCharacter(kSignTable);
constexpr RowsByByte kOperatorByByte = ByFirstCharacter(kOperatorTable);

// Each pending operator has its left operand in acc, so one more operand than operators means
// the next item must be an operator.
bool OperatorExpected(const EvalState& state) {
    return state.count > state.level;
}

// "+" and "-" form the low precedence class, the rest share the high one.
bool IsAdditive(const SymbolDescriptor* op) {
    return op->name[0] == '+' || op->name[0] == '-';
}

const SymbolDescriptor* MatchOperator(char c) {
    return kOperatorByByte[static_cast<unsigned char>(c)];
}

// A sign is recognised only here, at the start of the text. The spaces after it go too, as
// after an operator: an operand is read from where these leave the cursor.
const SymbolDescriptor* MatchSign(const char* text, std::int32_t& cursor) {
    SkipSpaces(text, cursor);
    const SymbolDescriptor* sign = kSignByByte[static_cast<unsigned char>(text[cursor])];
    if (sign != nullptr) {
        ++cursor;
        SkipSpaces(text, cursor);
    }
    return sign;
}

// Digits, e or E, an optional sign and digits up to a delimiter: a scientific number without a
// point, which ends where this returns; -1 for anything else.
std::int32_t ScientificWithoutPointEnd(const char* text, std::int32_t at) {
    while (IsDigit(text[at]))
        ++at;
    if (text[at] != 'e' && text[at] != 'E') return -1;
    ++at;
    if (text[at] == '+' || text[at] == '-') ++at;
    const std::int32_t digits = at;
    while (IsDigit(text[at]))
        ++at;
    return at > digits && IsDelimiter(text[at]) ? at : -1;
}

// "0" and decimal digits, one of them 8 or 9.
bool IsOctalWithDecimalDigit(const char* token, std::int32_t length) {
    if (token[0] != '0') return false;
    bool decimalDigit = false;
    for (std::int32_t at = 1; at < length; ++at) {
        if (!IsDigit(token[at])) return false;
        decimalDigit = decimalDigit || token[at] >= '8';
    }
    return decimalDigit;
}

// A scientific literal whose exponent runs past 63 digits.
bool HasOverlongExponent(const char* p) {
    int at = 0;
    while (IsDigit(p[at]) || p[at] == '.')
        ++at;
    if (p[at] != 'e' && p[at] != 'E') return false;
    ++at;
    if (p[at] == '+' || p[at] == '-') ++at;
    int digits = 0;
    while (IsDigit(p[at + digits]))
        ++digits;
    return digits >= kTokenCapacity;
}

// Why the token of length bytes at token resolves to nothing; only asked for a report. A point
// followed by a digit is a number written without its leading digit.
FailureReason UnresolvedToken(const char* token, std::int32_t length) {
    const bool digitLed = IsDigit(token[0]);
    if (digitLed && HasOverlongExponent(token)) return FailureReason::kExponentTooLong;
    if (length == kTokenCapacity - 1 && !IsDelimiter(token[length])) {
        return FailureReason::kNameTooLong;
    }
    if (token[0] == '.' && IsDigit(token[1])) return FailureReason::kMalformedNumber;
    if (!digitLed) return FailureReason::kUnknownName;
    if (ScientificWithoutPointEnd(token, 0) >= 0) return FailureReason::kScientificWithoutPoint;
    if (IsOctalWithDecimalDigit(token, length)) return FailureReason::kOctalDigit;
    return FailureReason::kMalformedNumber;
}

// The report's token is the whole name or number; a scientific one runs on to its exponent.
bool FailToken(const Expression& expression, const Span& span, std::int32_t tokenAt,
               std::int32_t length) {
    if (expression.report == nullptr) return false;
    const char* const token = expression.text + tokenAt;
    const FailureReason reason = UnresolvedToken(token, length);
    const std::int32_t end = reason == FailureReason::kScientificWithoutPoint
                                 ? tokenAt + ScientificWithoutPointEnd(token, 0)
                                 : tokenAt + length;
    return Fail(expression, span, reason, tokenAt, end);
}

// Where an operand belongs but no token can start: a sign after the start, a closer, a comma or
// the end of the span.
bool FailMissingOperand(const Expression& expression, const Span& span, const EvalState& state) {
    const char c = expression.text[state.cursor];
    const bool sign = state.cursor < state.end && (c == '+' || c == '-');
    return Fail(expression, span,
                sign ? FailureReason::kMisplacedSign : FailureReason::kOperandExpected,
                state.cursor);
}

// Where an operator belongs but another byte stands. Only a token cut after 63 characters ends
// on a token character, so two of them side by side mean the name or number was too long. A
// comma there separates nothing unless the span is a call's argument.
bool FailMissingOperator(const Expression& expression, const Span& span, const EvalState& state) {
    const std::int32_t at = state.cursor;
    const char* const text = expression.text;
    if (at > span.begin && !IsDelimiter(text[at]) && !IsDelimiter(text[at - 1])) {
        return Fail(expression, span, FailureReason::kNameTooLong, at - (kTokenCapacity - 1));
    }
    if (text[at] == ',' && span.call == nullptr) {
        return Fail(expression, span, FailureReason::kCommaOutsideCall, at);
    }
    return Fail(expression, span, FailureReason::kOperatorExpected, at);
}

// A literal or constant just read, for a program being prepared.
bool RecordLeaf(const EvalState& state) {
    if (state.recorder != nullptr) RecordConstant(*state.recorder, state.operand);
    return true;
}

bool ReadVariable(const Expression& expression, const char* token, float& value) {
    if (token[0] < 'a' || token[0] > 'z') return false;
    value = expression.variables[token[0] - 'a'];
    return true;
}

// Decided once per process, under the language's guarantee for local statics: threads that meet
// their first function token together neither race nor see a half-filled registry. A registry
// that someone filled before (as the engine's tests do) is left as it is.
void RegisterBuiltinsOnce() {
    [[maybe_unused]] static const bool registered =
        (g_functionRegistry.count == 0 ? RegisterBuiltins() : void(), true);
}

bool ReadFunctionCall(const Expression& expression, const Span& span, EvalState& state,
                      std::int32_t tokenAt, std::int32_t length) {
    RegisterBuiltinsOnce();
    const std::uint32_t index = FindFunction(expression.text + tokenAt, length);
    if (index >= g_functionRegistry.count) return FailToken(expression, span, tokenAt, length);
    return CallFunction(expression, span, g_functionRegistry.rows[index], tokenAt, state.cursor,
                        state.operand);
}

// A literal that is no plain integer and no number with one point: a token read as an integer or a
// fraction. A digit-led token is no constant, variable or function, but it still reaches the
// function stage, which sets the registry up, before it fails. Out of line, so that the token's
// buffer stays out of the frame of every evaluation.
[[gnu::noinline]] bool ReadTokenNumber(const Expression& expression, const Span& span,
                                       std::int32_t& cursor, float& value) {
    const std::int32_t tokenAt = cursor;
    char token[kTokenCapacity];
    ReadToken(expression.text, cursor, token);  // a digit stands at the cursor
    std::int32_t integer = 0;
    if (ParseInteger(token, integer)) {
        value = static_cast<float>(integer);
        return true;
    }
    if (ParseDecimal(token, value)) return true;
    RegisterBuiltinsOnce();
    return FailToken(expression, span, tokenAt, cursor - tokenAt);
}

// A literal: a plain integer or a number with one point straight from the text, else a token.
bool ReadNumber(const Expression& expression, const Span& span, EvalState& state) {
    const char* const text = expression.text;
    std::int32_t integer = 0;
    if (ReadDecimalInteger(text, state.cursor, integer)) {
        state.operand = static_cast<float>(integer);
        return true;
    }
    if (ReadPointedLiteral(text, state.cursor, state.operand)) return true;
    return ReadTokenNumber(expression, span, state.cursor, state.operand);
}

// A constant, a variable (one character), then a function call, in that order.
bool ReadName(const Expression& expression, const Span& span, EvalState& state) {
    const char* const text = expression.text;
    const std::int32_t tokenAt = state.cursor;
    const std::int32_t length = TokenLength(text + tokenAt);
    if (length == 0) return FailMissingOperand(expression, span, state);
    state.cursor += length;
    if (FindConstant(text + tokenAt, length, state.operand)) return RecordLeaf(state);
    if (length == 1) {
        if (ReadVariable(expression, text + tokenAt, state.operand)) {
            if (state.recorder != nullptr) RecordVariable(*state.recorder, text[tokenAt] - 'a');
            return true;
        }
        return FailToken(expression, span, tokenAt, length);
    }
    return ReadFunctionCall(expression, span, state, tokenAt, length);
}

// A bracket group, a number, or a name, at the cursor after the spaces before it.
bool ReadOperand(const Expression& expression, const Span& span, EvalState& state) {
    const char* const text = expression.text;
    state.operand = 0.0f;
    std::int32_t opener = 0;
    if (IsOpener(text[state.cursor], opener)) {
        ++state.cursor;
        return ReadGroup(expression, span, state.cursor, state.operand, opener);
    }
    if (IsDigit(text[state.cursor]))
        return ReadNumber(expression, span, state) && RecordLeaf(state);
    return ReadName(expression, span, state);
}

float Apply(const EvalState& state, const SymbolDescriptor* sign, float a) {
    if (state.recorder != nullptr) return RecordCall(*state.recorder, *sign);
    return sign->one(a);
}

float Apply(const EvalState& state, const SymbolDescriptor* op, float a, float b) {
    if (state.recorder != nullptr) return RecordCall(*state.recorder, *op);
    return op->two(a, b);
}

void StoreOperand(EvalState& state) {
    state.acc[state.count] = state.operand;
    if (state.level == 0) {
        if (state.sign != nullptr) {
            state.acc[0] = Apply(state, state.sign, state.acc[0]);
            state.sign = nullptr;
        }
        state.count = 1;
    } else if (state.level == 1) {
        if (IsAdditive(state.lowOp)) {
            state.count = 2;
        } else {
            state.acc[0] = Apply(state, state.lowOp, state.acc[0], state.acc[1]);
            state.level = 0;
        }
    } else {
        state.acc[1] = Apply(state, state.highOp, state.acc[1], state.acc[2]);
        state.level = 1;
    }
}

void StoreOperator(EvalState& state, const SymbolDescriptor* op) {
    if (state.level == 0) {
        state.lowOp = op;
        state.level = 1;
    } else if (IsAdditive(op)) {
        state.acc[0] = Apply(state, state.lowOp, state.acc[0], state.acc[1]);
        state.lowOp = op;
        state.count = 1;
    } else {
        state.highOp = op;
        state.level = 2;
    }
}

}  // namespace

bool Fail(const Expression& expression, FailureReason reason, std::int32_t position,
          std::int32_t opener, const SymbolDescriptor* function, std::int32_t tokenEnd) {
    if (expression.report == nullptr) return false;
    const std::int32_t begin = position < 0 ? 0 : position;
    if (position < 0) {
        tokenEnd = 0;
    } else if (tokenEnd < 0) {
        tokenEnd = begin + WhatStandsAt(expression.text + begin);
    }
    *expression.report = {reason, position + 1, function, {begin, tokenEnd}, opener};
    return false;
}

bool Fail(const Expression& expression, const Span& span, FailureReason reason,
          std::int32_t position, std::int32_t tokenEnd) {
    return Fail(expression, reason, position, span.opener, span.call, tokenEnd);
}

// expression := [sign] operand { operator operand }
// operand    := group | scientific literal | token (constant, integer, fraction, variable, call)
// One pass, folding as soon as precedence allows. States as (level, count): (0,0) expecting the
// first operand; (0,1) one value, expecting an operator; (1,1) expecting the right operand of
// lowOp; (1,2) lowOp is "+" or "-" with both operands, expecting an operator; (2,2) expecting
// the right operand of highOp, which waits behind lowOp. A text may end in (0,1) or (1,2) only.
bool EvaluateSpan(const Expression& expression, const Span& span, float& result) {
    result = 0.0f;
    EvalState state;
    state.cursor = span.begin;
    state.end = span.end;
    state.count = 0;
    state.level = 0;
    state.recorder = expression.recorder;
    state.sign = MatchSign(expression.text, state.cursor);
    while (state.cursor < state.end) {
        if (OperatorExpected(state)) {
            SkipSpaces(expression.text, state.cursor);
            const SymbolDescriptor* op = MatchOperator(expression.text[state.cursor]);
            if (op == nullptr) {
                if (state.cursor < state.end) return FailMissingOperator(expression, span, state);
                break;
            }
            ++state.cursor;
            SkipSpaces(expression.text, state.cursor);
            StoreOperator(state, op);
        } else {
            if (!ReadOperand(expression, span, state)) return false;
            StoreOperand(state);
        }
    }

    if (state.count != state.level + 1) {
        const bool blank = span.begin == 0 && state.count == 0 && state.sign == nullptr;
        return blank ? Fail(expression, span, FailureReason::kEmptyExpression, -1)
                     : Fail(expression, span, FailureReason::kOperandExpected, state.end);
    }
    if (state.level == 1) state.acc[0] = Apply(state, state.lowOp, state.acc[0], state.acc[1]);
    result = state.acc[0];
    return true;
}

namespace {

bool EvaluateMeasured(const Expression& expression, std::int32_t length, float& result) {
    if (expression.report != nullptr) *expression.report = {FailureReason::kNone, 0, nullptr};
    return EvaluateSpan(expression, Span{0, length, nullptr, 0, -1, nullptr}, result);
}

bool EvaluateWhole(const Expression& expression, float& result) {
    result = 0.0f;
    if (expression.report != nullptr) *expression.report = {FailureReason::kNone, 0, nullptr};
    const Span whole{0, 0, nullptr, 0, -1, nullptr};
    if (expression.text == nullptr) {
        return Fail(expression, whole, FailureReason::kEmptyExpression, -1);
    }
    const std::size_t length = std::strlen(expression.text);
    if (length > INT32_MAX) return Fail(expression, whole, FailureReason::kExpressionTooLong, -1);
    return EvaluateMeasured(expression, static_cast<std::int32_t>(length), result);
}

}  // namespace

bool EvaluateExpression(const char* text, float& result, const VariableBank& variables,
                        FailureReport* report) {
    return EvaluateWhole(Expression{text, variables, report, nullptr}, result);
}

bool EvaluateMeasuredExpression(const char* text, std::int32_t length, float& result,
                                const VariableBank& variables, FailureReport* report) {
    return EvaluateMeasured(Expression{text, variables, report, nullptr}, length, result);
}

bool RecordExpression(const char* text, FailureReport* report, ProgramRecorder& recorder) {
    static constexpr VariableBank kUnset{};
    float ignored = 0.0f;
    return EvaluateWhole(Expression{text, kUnset, report, &recorder}, ignored);
}
