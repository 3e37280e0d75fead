#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/evaluator.h"
#include "engine/name_tables.h"
#include "tests/support/float_bits.h"

namespace {

// Every variable 0.
constexpr VariableBank kNoVariables{};

struct HashRow {
    const char* text;
    std::uint32_t hash;
};

const HashRow kHashRows[] = {
    {"", 0x0},
    {"PI", 0x549},
    {"E", 0x45},
    {"sin", 0x79FE},
    {"multiply", 0x0C3B0279},
    {"array_cumulate", 0x03C4DB85},
    {"\xB0", 0x0FFFFF40},
};

TEST(NameHash, MatchesTheSignedElfHash) {
    for (const HashRow& row : kHashRows)
        EXPECT_EQ(NameHash(row.text), row.hash) << row.text;
    EXPECT_EQ(NameHash(nullptr), 0u);
}

TEST(NameHash, StaysBelowTwoToTheTwentyEight) {
    std::string text;
    for (int c = 1; c < 256; ++c) {
        text.push_back(static_cast<char>(c));
        EXPECT_LT(NameHash(text.c_str()), 1u << 28) << "length " << text.size();
    }
}

TEST(LookupConstant, FindsOnlyTheExactNames) {
    float value = 0.0f;
    EXPECT_TRUE(LookupConstant("PI", value));
    EXPECT_EQ(Bits(value), 0x40490FDBu);
    EXPECT_TRUE(LookupConstant("E", value));
    EXPECT_EQ(Bits(value), 0x402DF854u);
    for (const char* miss : {"pi", "Pi", "PIE", "e", "P"}) {
        value = 9.0f;
        EXPECT_FALSE(LookupConstant(miss, value)) << miss;
        EXPECT_EQ(value, 0.0f) << miss << ": a miss clears the value";
    }
    value = 9.0f;
    EXPECT_FALSE(LookupConstant("ABCDEFGHIJKLMNOP", value));
    EXPECT_FALSE(LookupConstant("", value));
    EXPECT_EQ(value, 9.0f) << "a name too long for the table leaves the value";
}

// The lazy set-up is only visible in a fresh process, so these run in a re-executed child.
void ExpectInFreshProcess(bool (*check)()) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(std::exit(check() ? 0 : 1), testing::ExitedWithCode(0), "");
}

bool ConstantsAreSetUpByTheFirstLookup() {
    if (g_constantTable.count != 0) return false;
    float value = 0.0f;
    LookupConstant("anything", value);
    return g_constantTable.count == 2 && std::strcmp(g_constantTable.entries[0].name, "PI") == 0 &&
           std::strcmp(g_constantTable.entries[1].name, "E") == 0 &&
           g_constantTable.entries[2].name[0] == '\0';
}

TEST(LookupConstant, SetsTheTableUpOnFirstUse) {
    ExpectInFreshProcess(ConstantsAreSetUpByTheFirstLookup);
}

struct FunctionRow {
    const char* name;
    std::uint32_t index;
    std::int32_t kind;
};

// Registration order and kinds are part of the language.
const FunctionRow kRegistry[] = {
    {"positive", 0, 5},
    {"negative", 1, 5},
    {"abs", 2, 5},
    {"floor", 3, 5},
    {"ceil", 4, 5},
    {"sign", 5, 5},
    {"sqrt", 6, 5},
    {"exp", 7, 5},
    {"log", 8, 5},
    {"log2", 9, 5},
    {"log10", 10, 5},
    {"sin", 11, 5},
    {"cos", 12, 5},
    {"tan", 13, 5},
    {"asin", 14, 5},
    {"acos", 15, 5},
    {"atan", 16, 5},
    {"rand", 17, 5},
    {"add", 18, 6},
    {"sub", 19, 6},
    {"multiply", 20, 6},
    {"divide", 21, 6},
    {"max", 22, 6},
    {"min", 23, 6},
    {"mod", 24, 6},
    {"pow", 25, 6},
    {"atan2", 26, 6},
    {"rand2", 27, 6},
    {"lerp", 28, 7},
    {"clamp", 29, 7},
    {"gray", 30, 7},
    {"add3", 31, 7},
    {"min3", 32, 7},
    {"max3", 33, 7},
    {"average3", 34, 7},
    {"add4", 35, 8},
    {"min4", 36, 8},
    {"max4", 37, 8},
    {"average4", 38, 8},
    {"array_add", 39, 9},
    {"array_min", 40, 9},
    {"array_max", 41, 9},
    {"array_ave", 42, 9},
    {"array_move_right", 43, 9},
    {"array_move_left", 44, 9},
    {"array_cumulate", 45, 9},
};

int FilledSlots(const SymbolDescriptor& row) {
    return (row.one != nullptr) + (row.two != nullptr) + (row.three != nullptr) +
           (row.four != nullptr) + (row.arrayToValue != nullptr) + (row.arrayToArray != nullptr);
}

TEST(RegisterBuiltins, WritesEveryRowCompleteInOrder) {
    RegisterBuiltins();
    ASSERT_EQ(g_functionRegistry.count, 46u);
    for (const FunctionRow& expected : kRegistry) {
        const SymbolDescriptor& row = g_functionRegistry.rows[expected.index];
        EXPECT_STREQ(row.name, expected.name);
        EXPECT_EQ(row.kind, expected.kind) << expected.name;
        EXPECT_EQ(row.hash, NameHash(expected.name)) << expected.name;
        EXPECT_EQ(FilledSlots(row), 1) << expected.name;
        const std::size_t length = std::strlen(row.name);
        for (std::size_t i = length; i < sizeof row.name; ++i)
            EXPECT_EQ(row.name[i], '\0');
        EXPECT_EQ(LookupFunction(expected.name), expected.index);
    }
    const SymbolDescriptor& spare = g_functionRegistry.rows[46];
    EXPECT_EQ(spare.name[0], '\0');
    EXPECT_EQ(spare.kind, 0);
    EXPECT_EQ(FilledSlots(spare), 0);
}

TEST(RegisterBuiltins, AllNamesHaveDistinctHashes) {
    RegisterBuiltins();
    for (std::uint32_t i = 0; i < g_functionRegistry.count; ++i) {
        EXPECT_NE(g_functionRegistry.rows[i].hash, NameHash("PI"));
        EXPECT_NE(g_functionRegistry.rows[i].hash, NameHash("E"));
        for (std::uint32_t j = i + 1; j < g_functionRegistry.count; ++j) {
            EXPECT_NE(g_functionRegistry.rows[i].hash, g_functionRegistry.rows[j].hash);
        }
    }
}

TEST(LookupFunction, ReportsMissesAgainstTheCount) {
    RegisterBuiltins();
    for (const char* miss : {"Max", "SIN", "sin2", "x", "abcdefghijklmnopqrstuvw"}) {
        EXPECT_EQ(LookupFunction(miss), 46u) << miss;
    }
    EXPECT_EQ(LookupFunction(""), kNoFunction);
    EXPECT_EQ(LookupFunction(nullptr), kNoFunction);
    EXPECT_EQ(LookupFunction("abcdefghijklmnopqrstuvwx"), kNoFunction);
    EXPECT_EQ(LookupFunction(std::string(200, 'm').c_str()), kNoFunction);
}

bool RegistryIsFilledByTheFirstFunctionTokenOnly() {
    float value = 0.0f;
    // Constants, literals and variables need no registry.
    if (!EvaluateExpression("PI*2+x+0x10+1.5", value, kNoVariables, nullptr) ||
        g_functionRegistry.count != 0)
        return false;
    if (!EvaluateExpression("max(1,2)", value, kNoVariables, nullptr) ||
        g_functionRegistry.count != 46)
        return false;
    if (!EvaluateExpression("pow(2,3)", value, kNoVariables, nullptr) || value != 8.0f)
        return false;
    return g_functionRegistry.count == 46 && LookupFunction("max") == 22;
}

TEST(FunctionRegistry, IsFilledByTheFirstFunctionTokenOnly) {
    ExpectInFreshProcess(RegistryIsFilledByTheFirstFunctionTokenOnly);
}

}  // namespace
