#pragma once

#include <cstdint>

#include "tests/engine/reference/symbol_descriptor.h"

namespace reference {

struct ConstantEntry {
    char name[16];
    std::uint32_t hash;
    float value;
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

// The ELF hash, with each byte taken as signed.
std::uint32_t NameHash(const char* text);

void InitConstants();
bool LookupConstant(const char* name, float& value);
void RegisterBuiltins();
// A result not below the registry count means there is no such function.
std::uint32_t LookupFunction(const char* name);

}  // namespace reference
