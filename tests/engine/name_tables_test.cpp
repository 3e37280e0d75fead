#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

#include "engine/evaluator.h"
#include "engine/name_tables.h"
#include "tests/support/float_bits.h"

namespace {

// Every variable 0.
constexpr VariableBank kNoVariables{};

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

// The slot each kind fills; an array function fills one of its two.
bool FillsTheSlotOfItsKind(const SymbolDescriptor& row) {
    const int filled = (row.one != nullptr) + (row.two != nullptr) + (row.three != nullptr) +
                       (row.four != nullptr) + (row.arrayToValue != nullptr) +
                       (row.arrayToArray != nullptr);
    if (filled != 1) return false;
    switch (row.kind) {
        case kFunction1:
            return row.one != nullptr;
        case kFunction2:
            return row.two != nullptr;
        case kFunction3:
            return row.three != nullptr;
        case kFunction4:
            return row.four != nullptr;
        case kArrayFunction:
            return row.arrayToValue != nullptr || row.arrayToArray != nullptr;
        default:
            return false;
    }
}

const SymbolDescriptor* Find(const std::string& name) {
    return FindBuiltin(name.data(), name.size());
}

TEST(FindBuiltin, GivesEveryBuiltinItsOwnRow) {
    RegisterBuiltins();
    const auto builtins = BuiltinFunctions();
    ASSERT_EQ(builtins.size(), 46u);
    ASSERT_EQ(g_functionRegistry.count, builtins.size());
    for (std::uint32_t index = 0; index < builtins.size(); ++index) {
        const SymbolDescriptor& row = builtins[index];
        const std::string name = row.name;
        EXPECT_EQ(Find(name), &row) << name;
        EXPECT_TRUE(FillsTheSlotOfItsKind(row)) << name;
        EXPECT_EQ(LookupFunction(row.name), index) << name;
        EXPECT_EQ(FindFunction(name.data(), name.size()), index) << name;
        // The registry the evaluator calls through holds the same row.
        const SymbolDescriptor& registered = g_functionRegistry.rows[index];
        EXPECT_STREQ(registered.name, row.name);
        EXPECT_EQ(registered.kind, row.kind) << name;
        EXPECT_EQ(registered.one, row.one) << name;
        EXPECT_EQ(registered.two, row.two) << name;
        EXPECT_EQ(registered.arrayToArray, row.arrayToArray) << name;
    }
    EXPECT_EQ(g_functionRegistry.rows[46].name[0], '\0');
    EXPECT_EQ(g_functionRegistry.rows[46].kind, 0);
}

// A name found is found exactly: another case, a prefix or a longer name is not that row (a
// prefix may be a built-in of its own, as "log" is of "log2").
TEST(FindBuiltin, FindsNoNameThatDiffersByCaseOrLength) {
    for (const SymbolDescriptor& row : BuiltinFunctions()) {
        const std::string name = row.name;
        std::string upper = name;
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        std::string capital = name;
        capital[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(capital[0])));
        for (const std::string& miss : {upper, capital, name + "x", name + "_", name + "2"}) {
            const SymbolDescriptor* found = Find(miss);
            EXPECT_TRUE(found == nullptr || found->name == miss) << miss;
            EXPECT_NE(found, &row) << miss;
        }
        for (std::size_t length = 1; length < name.size(); ++length) {
            const std::string prefix = name.substr(0, length);
            const SymbolDescriptor* found = Find(prefix);
            EXPECT_TRUE(found == nullptr || found->name == prefix) << prefix;
        }
        EXPECT_EQ(FindBuiltin(row.name, 0), nullptr);
    }
    for (const ConstantDefinition& constant : BuiltinConstants())
        EXPECT_EQ(FindBuiltin(constant.name, constant.length), nullptr) << constant.name;
}

// Registration order is part of the language (LookupFunction reports it): a few anchors.
struct AnchorRow {
    const char* name;
    std::uint32_t index;
};

const AnchorRow kAnchors[] = {
    {"positive", 0}, {"rand", 17}, {"max", 22}, {"rand2", 27}, {"array_cumulate", 45},
};

TEST(LookupFunction, KeepsTheRegistrationOrder) {
    RegisterBuiltins();
    for (const AnchorRow& anchor : kAnchors)
        EXPECT_EQ(LookupFunction(anchor.name), anchor.index) << anchor.name;
}

TEST(LookupConstant, FindsEveryBuiltinConstant) {
    for (const ConstantDefinition& constant : BuiltinConstants()) {
        float value = 0.0f;
        EXPECT_TRUE(LookupConstant(constant.name, value)) << constant.name;
        EXPECT_EQ(Bits(value), constant.bits) << constant.name;
        EXPECT_EQ(std::strlen(constant.name), constant.length);
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
