#include "engine/name_tables.h"

#include <array>
#include <cstring>
#include <iterator>

#include "engine/operators.h"
#include "library/array_value.h"
#include "library/scalar_functions.h"

ConstantTable g_constantTable;
FunctionRegistry g_functionRegistry;

namespace {

// What InitConstants writes into the table, in its order.
constexpr ConstantDefinition kConstants[] = {
    {"PI", 2, 0x40490FDB},  // pi rounded to float
    {"E", 1, 0x402DF854},   // e rounded to float
};
constexpr std::size_t kConstantNameLimit = sizeof(ConstantEntry::name);
constexpr std::size_t kFunctionNameLimit = sizeof(SymbolDescriptor::name);

// One maker per slot; no lookup reads the hash, so the rows hold the placeholder.
constexpr SymbolDescriptor F1(const char* name, Function1 f) {
    return NamedSymbol(name, kFunction1, &SymbolDescriptor::one, f);
}
constexpr SymbolDescriptor F2(const char* name, Function2 f) {
    return NamedSymbol(name, kFunction2, &SymbolDescriptor::two, f);
}
constexpr SymbolDescriptor F3(const char* name, Function3 f) {
    return NamedSymbol(name, kFunction3, &SymbolDescriptor::three, f);
}
constexpr SymbolDescriptor F4(const char* name, Function4 f) {
    return NamedSymbol(name, kFunction4, &SymbolDescriptor::four, f);
}
constexpr SymbolDescriptor Reduce(const char* name, ArrayToValue f) {
    return NamedSymbol(name, kArrayFunction, &SymbolDescriptor::arrayToValue, f);
}
constexpr SymbolDescriptor Transform(const char* name, ArrayToArray f) {
    return NamedSymbol(name, kArrayFunction, &SymbolDescriptor::arrayToArray, f);
}

// Registration order is part of the language: LookupFunction reports these indices.
constexpr SymbolDescriptor kBuiltins[] = {
    F1("positive", OpIdentity),
    F1("negative", OpNegate),
    F1("abs", Abs),
    F1("floor", Floor),
    F1("ceil", Ceil),
    F1("sign", Sign),
    F1("sqrt", Sqrt),
    F1("exp", Exp),
    F1("log", Log),
    F1("log2", Log2),
    F1("log10", Log10),
    F1("sin", Sin),
    F1("cos", Cos),
    F1("tan", Tan),
    F1("asin", Asin),
    F1("acos", Acos),
    F1("atan", Atan),
    F1("rand", Rand),
    F2("add", OpAdd),
    F2("sub", OpSubtract),
    F2("multiply", OpMultiply),
    F2("divide", OpDivide),
    F2("max", Max),
    F2("min", Min),
    F2("mod", OpModulo),
    F2("pow", OpPower),
    F2("atan2", Atan2),
    F2("rand2", Rand2),
    F3("lerp", Lerp),
    F3("clamp", Clamp),
    F3("gray", Gray),
    F3("add3", Add3),
    F3("min3", Min3),
    F3("max3", Max3),
    F3("average3", Average3),
    F4("add4", Add4),
    F4("min4", Min4),
    F4("max4", Max4),
    F4("average4", Average4),
    Reduce("array_add", array_add),
    Reduce("array_min", array_min),
    Reduce("array_max", array_max),
    Reduce("array_ave", array_ave),
    Transform("array_move_right", array_move_right),
    Transform("array_move_left", array_move_left),
    Transform("array_cumulate", array_cumulate),
};
static_assert(std::size(kBuiltins) == 46);

// Exact name lookup for the builtins, built at compile time: the names are distinct, so finding
// a name here gives the row that the ordered scan of the registry would give. Open addressing
// over a hash of the length and three bytes, every name within kLongestProbe slots of its home.
constexpr std::size_t kFunctionSlots = 128;
constexpr std::size_t kLongestProbe = 2;
constexpr std::uint8_t kEmptySlot = 0xFF;

constexpr std::size_t HomeSlot(const char* name, std::size_t length) {
    const auto byte = [&](std::size_t i) {
        return static_cast<std::size_t>(static_cast<unsigned char>(name[i]));
    };
    return (length * 2 + byte(0) * 5 + byte(length / 2) * 7 + byte(length - 1)) % kFunctionSlots;
}

constexpr std::size_t NameLength(const char* name) {
    std::size_t length = 0;
    while (name[length] != '\0')
        ++length;
    return length;
}

constexpr bool SameName(const char* registered, const char* name, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        if (registered[i] != name[i]) return false;
    }
    return registered[length] == '\0';
}

constexpr std::array<std::uint8_t, kFunctionSlots> kFunctionSlotRows = [] {
    std::array<std::uint8_t, kFunctionSlots> slots{};
    slots.fill(kEmptySlot);
    for (std::size_t row = 0; row < std::size(kBuiltins); ++row) {
        const char* name = kBuiltins[row].name;
        std::size_t slot = HomeSlot(name, NameLength(name));
        while (slots[slot] != kEmptySlot)
            slot = (slot + 1) % kFunctionSlots;
        slots[slot] = static_cast<std::uint8_t>(row);
    }
    return slots;
}();

constexpr std::uint32_t kNotBuiltin = std::size(kBuiltins);

constexpr std::uint32_t FindBuiltinIn(const char* name, std::size_t length) {
    std::size_t slot = HomeSlot(name, length);
    for (std::size_t probe = 0; probe < kLongestProbe; ++probe) {
        const std::uint8_t row = kFunctionSlotRows[slot];
        if (row == kEmptySlot) break;
        if (SameName(kBuiltins[row].name, name, length)) return row;
        slot = (slot + 1) % kFunctionSlots;
    }
    return kNotBuiltin;
}

constexpr bool EveryBuiltinFoundInItsRow() {
    for (std::uint32_t row = 0; row < std::size(kBuiltins); ++row) {
        const char* name = kBuiltins[row].name;
        if (FindBuiltinIn(name, NameLength(name)) != row) return false;
    }
    return true;
}
static_assert(EveryBuiltinFoundInItsRow());

constexpr bool ConstantLengthsHold() {
    for (const ConstantDefinition& constant : kConstants) {
        if (NameLength(constant.name) != constant.length) return false;
    }
    return true;
}
static_assert(ConstantLengthsHold());

void WriteConstant(ConstantEntry& entry, const char* name, std::uint32_t bits) {
    std::memset(entry.name, 0, sizeof entry.name);
    std::strcpy(entry.name, name);
    std::memcpy(&entry.value, &bits, sizeof bits);
}

}  // namespace

void InitConstants() {
    for (std::size_t i = 0; i < std::size(kConstants); ++i)
        WriteConstant(g_constantTable.entries[i], kConstants[i].name, kConstants[i].bits);
    if (g_constantTable.count == 0) g_constantTable.count = std::size(kConstants);
}

// The table never holds more than the two short names it is set up with, so comparing the
// length and the bytes with those finds an entry faster than a hash; the value comes from the
// table.
bool FindConstant(const char* name, std::size_t length, float& value) {
    // Once per process, under the language's guarantee for local statics, so that concurrent
    // first lookups neither race nor read a half-written entry.
    [[maybe_unused]] static const bool constantsReady =
        (g_constantTable.count == 0 ? InitConstants() : void(), true);
    for (std::size_t i = 0; i < std::size(kConstants); ++i) {
        if (length == kConstants[i].length && SameName(kConstants[i].name, name, length)) {
            value = g_constantTable.entries[i].value;
            return true;
        }
    }
    return false;
}

bool LookupConstant(const char* name, float& value) {
    const std::size_t length = name == nullptr ? 0 : strnlen(name, kConstantNameLimit);
    if (FindConstant(name, length, value)) return true;
    if (length == 0 || length == kConstantNameLimit) return false;
    value = 0.0f;
    return false;
}

void RegisterBuiltins() {
    std::uint32_t index = 0;
    for (const SymbolDescriptor& builtin : kBuiltins)
        g_functionRegistry.rows[index++] = builtin;
    g_functionRegistry.count = index;
}

std::uint32_t FindFunction(const char* name, std::size_t length) {
    const bool fits = length > 0 && length < kFunctionNameLimit;
    const std::uint32_t row = fits ? FindBuiltinIn(name, length) : kNotBuiltin;
    return row < g_functionRegistry.count ? row : g_functionRegistry.count;
}

std::uint32_t LookupFunction(const char* name) {
    if (name == nullptr) return kNoFunction;
    const std::size_t length = strnlen(name, kFunctionNameLimit);
    if (length == 0 || length == kFunctionNameLimit) return kNoFunction;
    return FindFunction(name, length);
}

std::span<const ConstantDefinition> BuiltinConstants() {
    return kConstants;
}

std::span<const SymbolDescriptor> BuiltinFunctions() {
    return kBuiltins;
}

const SymbolDescriptor* FindBuiltin(const char* name, std::size_t length) {
    const bool fits = length > 0 && length < kFunctionNameLimit;
    const std::uint32_t row = fits ? FindBuiltinIn(name, length) : kNotBuiltin;
    return row < kNotBuiltin ? &kBuiltins[row] : nullptr;
}
