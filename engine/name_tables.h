#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "engine/symbol_descriptor.h"

struct ConstantEntry {
    char name[16];
    std::uint32_t hash;  // kept for the record's layout; no lookup reads it
    float value;
};

// A built-in constant: its name and the bits of its float value.
struct ConstantDefinition {
    const char* name;
    std::size_t length;
    std::uint32_t bits;
};

struct ConstantTable {
    ConstantEntry entries[64];
    std::uint32_t count;
};

struct FunctionRegistry {
    SymbolDescriptor rows[256];
    std::uint32_t count;
};

inline constexpr std::uint32_t kNoFunction = 0xFFFFFFFFu;

// Process-wide, filled lazily by their first user (count 0 means not yet filled).
extern ConstantTable g_constantTable;
extern FunctionRegistry g_functionRegistry;

void InitConstants();
bool LookupConstant(const char* name, float& value);
void RegisterBuiltins();
// A result not below the registry count means there is no such function.
std::uint32_t LookupFunction(const char* name);

// The same lookups over a name of known length that need not be terminated. FindConstant leaves
// value untouched on a miss; FindFunction reports a miss as the registry count.
bool FindConstant(const char* name, std::size_t length, float& value);
std::uint32_t FindFunction(const char* name, std::size_t length);

// The compile-time tables that lookup reads, in registration order: what any caller may read
// without setting anything up. FindBuiltin gives the row of a built-in function, or null.
std::span<const ConstantDefinition> BuiltinConstants();
std::span<const SymbolDescriptor> BuiltinFunctions();
const SymbolDescriptor* FindBuiltin(const char* name, std::size_t length);
