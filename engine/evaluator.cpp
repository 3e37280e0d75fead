#include "engine/evaluator.h"

#include <cstring>

#include "engine/groups_and_calls.h"
#include "engine/name_tables.h"
#include "engine/numeric_literals.h"
#include "engine/operators.h"

thread_local float g_variableBank[26];

namespace {

// "+" and "-" form the low precedence class, the rest share the high one.
bool IsAdditive(const SymbolDescriptor* op) {
    return op->name[0] == '+' || op->name[0] == '-';
}

const SymbolDescriptor* MatchOperator(char c) {
    for (const SymbolDescriptor& row : kOperatorTable) {
        if (row.name[0] == c) return &row;
    }
    return nullptr;
}

bool ReadVariable(const char* token, float& value) {
    if (token[0] < 'a' || token[0] > 'z') return false;
    value = g_variableBank[token[0] - 'a'];
    return true;
}

// Decided once per process, under the language's guarantee for local statics: threads that meet
// their first function token together neither race nor see a half-filled registry. A registry
// that someone filled before (as the engine's tests do) is left as it is.
void RegisterBuiltinsOnce() {
    [[maybe_unused]] static const bool registered =
        (g_functionRegistry.count == 0 ? RegisterBuiltins() : void(), true);
}

bool ReadFunctionCall(EvalState& state, const char* text) {
    RegisterBuiltinsOnce();
    const std::uint32_t index = LookupFunction(state.token);
    if (index >= g_functionRegistry.count) return false;
    return CallFunction(g_functionRegistry.rows[index], state.cursor, state.operand, text);
}

// Constant, integer, fraction, variable, then function call, in that order.
bool ResolveToken(EvalState& state, const char* text) {
    if (LookupConstant(state.token, state.operand)) return true;
    if (IsDigit(state.token[0])) {
        if (ParseInteger(state.token, state.integer)) {
            state.operand = static_cast<float>(state.integer);
            return true;
        }
    }
    if (ParseDecimal(state.token, state.operand)) return true;
    if (state.token[1] == '\0') return ReadVariable(state.token, state.operand);
    return ReadFunctionCall(state, text);
}

bool ReadOperand(EvalState& state, const char* text) {
    state.operand = 0.0f;
    SkipSpaces(text, state.cursor);
    std::int32_t opener = 0;
    if (MatchOpenBracket(text, state.cursor, opener) != nullptr) {
        return ReadGroup(text, state.cursor, state.operand, opener, false);
    }
    if (ParseScientific(text, state.cursor, state.operand)) return true;
    if (!ReadToken(text, state.cursor, state.token)) return false;
    return ResolveToken(state, text);
}

float& Slot(EvalState& state, std::int32_t index) {
    return index == 0 ? state.acc0 : index == 1 ? state.acc1 : state.acc2;
}

void StoreOperand(EvalState& state, int& level) {
    Slot(state, state.count) = state.operand;
    if (level == 0) {
        if (state.sign != nullptr) {
            state.acc0 = state.sign->one(state.acc0);
            state.sign = nullptr;
        }
        state.count = 1;
    } else if (level == 1) {
        if (IsAdditive(state.lowOp)) {
            state.count = 2;
        } else {
            state.acc0 = state.lowOp->two(state.acc0, state.acc1);
            level = 0;
        }
    } else {
        state.acc1 = state.highOp->two(state.acc1, state.acc2);
        level = 1;
    }
}

void StoreOperator(EvalState& state, int& level, const SymbolDescriptor* op) {
    if (level == 0) {
        state.lowOp = op;
        level = 1;
    } else if (IsAdditive(op)) {
        state.acc0 = state.lowOp->two(state.acc0, state.acc1);
        state.lowOp = op;
        state.count = 1;
    } else {
        state.highOp = op;
        level = 2;
    }
}

}  // namespace

const SymbolDescriptor kSignTable[2] = {
    NamedSymbol("+", kUnarySign, &SymbolDescriptor::one, OpIdentity),
    NamedSymbol("-", kUnarySign, &SymbolDescriptor::one, OpNegate),
};

const SymbolDescriptor kOperatorTable[6] = {
    NamedSymbol("+", kBinaryOperator, &SymbolDescriptor::two, OpAdd),
    NamedSymbol("-", kBinaryOperator, &SymbolDescriptor::two, OpSubtract),
    NamedSymbol("*", kBinaryOperator, &SymbolDescriptor::two, OpMultiply),
    NamedSymbol("/", kBinaryOperator, &SymbolDescriptor::two, OpDivide),
    NamedSymbol("%", kBinaryOperator, &SymbolDescriptor::two, OpModulo),
    NamedSymbol("^", kBinaryOperator, &SymbolDescriptor::two, OpPower),
};

const SymbolDescriptor* MatchSign(const char* text, std::int32_t& cursor) {
    SkipSpaces(text, cursor);
    for (const SymbolDescriptor& row : kSignTable) {
        if (row.name[0] == text[cursor]) {
            ++cursor;
            return &row;
        }
    }
    return nullptr;
}

bool EvaluateExpression(const char* text, float& result) {
    result = 0.0f;
    if (text == nullptr || text[0] == '\0') return false;
    EvalState state{};
    const std::size_t length = std::strlen(text);
    if (length > INT32_MAX) return false;
    state.length = static_cast<std::int32_t>(length);
    state.result = &result;
    int level = 0;

    state.sign = MatchSign(text, state.cursor);
    while (state.cursor < state.length) {
        if (state.count > level) {
            SkipSpaces(text, state.cursor);
            const SymbolDescriptor* op = MatchOperator(text[state.cursor]);
            if (op == nullptr) {
                if (state.cursor < state.length) return false;
                break;
            }
            ++state.cursor;
            StoreOperator(state, level, op);
        } else {
            if (!ReadOperand(state, text)) return false;
            StoreOperand(state, level);
        }
    }

    if (state.count != level + 1) return false;
    if (level == 1) state.acc0 = state.lowOp->two(state.acc0, state.acc1);
    *state.result = state.acc0;
    return true;
}
