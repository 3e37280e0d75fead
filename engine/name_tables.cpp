#include "engine/name_tables.h"

#include <cstring>
#include <iterator>

#include "engine/operators.h"
#include "library/array_value.h"
#include "library/scalar_functions.h"

ConstantTable g_constantTable;
FunctionRegistry g_functionRegistry;

namespace {

constexpr std::uint32_t kPiBits = 0x40490FDB;  // pi rounded to float
constexpr std::uint32_t kEBits = 0x402DF854;   // e rounded to float
constexpr std::size_t kConstantNameLimit = sizeof(ConstantEntry::name);
constexpr std::size_t kFunctionNameLimit = sizeof(SymbolDescriptor::name);

// One maker per slot; the hash is filled in at registration.
constexpr SymbolDescriptor F1(const char* name, Function1 f) {
    return NamedSymbol(name, kFunction1, &SymbolDescriptor::one, f, 0);
}
constexpr SymbolDescriptor F2(const char* name, Function2 f) {
    return NamedSymbol(name, kFunction2, &SymbolDescriptor::two, f, 0);
}
constexpr SymbolDescriptor F3(const char* name, Function3 f) {
    return NamedSymbol(name, kFunction3, &SymbolDescriptor::three, f, 0);
}
constexpr SymbolDescriptor F4(const char* name, Function4 f) {
    return NamedSymbol(name, kFunction4, &SymbolDescriptor::four, f, 0);
}
constexpr SymbolDescriptor Reduce(const char* name, ArrayToValue f) {
    return NamedSymbol(name, kArrayFunction, &SymbolDescriptor::arrayToValue, f, 0);
}
constexpr SymbolDescriptor Transform(const char* name, ArrayToArray f) {
    return NamedSymbol(name, kArrayFunction, &SymbolDescriptor::arrayToArray, f, 0);
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

// One byte of NameHash. Bytes from 0x80 up count as negative, sign-extended to 32 bits.
std::uint32_t HashStep(std::uint32_t h, char byte) {
    const auto c =
        static_cast<std::uint32_t>(static_cast<std::int32_t>(static_cast<signed char>(byte)));
    h = h * 16 + c;
    const std::uint32_t g = h & 0xF0000000u;
    if (g != 0) h = (h ^ (g >> 24)) & 0x0FFFFFFFu;
    return h;
}

// NameHash and the length of a name in one pass over at most limit bytes. A name of limit bytes
// or more measures limit; its hash then covers only those bytes and is not used.
std::size_t MeasureAndHash(const char* name, std::size_t limit, std::uint32_t& hash) {
    std::uint32_t h = 0;
    std::size_t length = 0;
    for (; length < limit && name[length] != '\0'; ++length)
        h = HashStep(h, name[length]);
    hash = h;
    return length;
}

void WriteConstant(ConstantEntry& entry, const char* name, std::uint32_t bits) {
    std::memset(entry.name, 0, sizeof entry.name);
    std::strcpy(entry.name, name);
    entry.hash = NameHash(name);
    std::memcpy(&entry.value, &bits, sizeof bits);
}

}  // namespace

std::uint32_t NameHash(const char* text) {
    std::uint32_t h = 0;
    if (text == nullptr) return h;
    for (const char* p = text; *p != '\0'; ++p)
        h = HashStep(h, *p);
    return h;
}

void InitConstants() {
    WriteConstant(g_constantTable.entries[0], "PI", kPiBits);
    WriteConstant(g_constantTable.entries[1], "E", kEBits);
    if (g_constantTable.count == 0) g_constantTable.count = 2;
}

bool LookupConstant(const char* name, float& value) {
    // Once per process, under the language's guarantee for local statics, so that concurrent
    // first lookups neither race nor read a half-written entry.
    [[maybe_unused]] static const bool constantsReady =
        (g_constantTable.count == 0 ? InitConstants() : void(), true);
    if (name == nullptr) return false;
    std::uint32_t h = 0;
    const std::size_t length = MeasureAndHash(name, kConstantNameLimit, h);
    if (length == 0 || length == kConstantNameLimit) return false;
    for (std::uint32_t i = 0; i < g_constantTable.count; ++i) {
        const ConstantEntry& entry = g_constantTable.entries[i];
        if (entry.hash == h && std::strcmp(entry.name, name) == 0) {
            value = entry.value;
            return true;
        }
    }
    value = 0.0f;
    return false;
}

void RegisterBuiltins() {
    std::uint32_t index = 0;
    for (const SymbolDescriptor& builtin : kBuiltins)
        g_functionRegistry.rows[index++] = builtin;
    g_functionRegistry.count = index;
    for (std::uint32_t i = 0; i < g_functionRegistry.count; ++i) {
        SymbolDescriptor& row = g_functionRegistry.rows[i];
        row.hash = NameHash(row.name);
    }
}

std::uint32_t LookupFunction(const char* name) {
    if (name == nullptr) return kNoFunction;
    std::uint32_t h = 0;
    const std::size_t length = MeasureAndHash(name, kFunctionNameLimit, h);
    if (length == 0 || length == kFunctionNameLimit) return kNoFunction;
    for (std::uint32_t i = 0; i < g_functionRegistry.count; ++i) {
        const SymbolDescriptor& row = g_functionRegistry.rows[i];
        if (row.hash == h && std::strcmp(row.name, name) == 0) return i;
    }
    return g_functionRegistry.count;
}
