#pragma once

#include <cstdint>

// A plain scalar (no elements, count 0) or an array of count >= 1 floats whose storage it owns.
// The storage is given back when the value is destroyed; a value cannot be copied, so no two
// values ever own the same storage.
struct ArrayValue {
    float scalar = 0.0f;
    float* elements = nullptr;
    std::uint32_t count = 0;

    ArrayValue() = default;
    explicit ArrayValue(float value) : scalar(value) {}
    ~ArrayValue();
    ArrayValue(const ArrayValue&) = delete;
    ArrayValue& operator=(const ArrayValue&) = delete;
};

// Gives the value exactly newCount elements. Returns false, leaving the value exactly as it
// was, when the storage cannot be obtained.
bool ResizeArray(ArrayValue& value, std::uint32_t newCount);

float array_add(const ArrayValue& value);
float array_min(const ArrayValue& value);
float array_max(const ArrayValue& value);
float array_ave(const ArrayValue& value);

// Input and output may be the same value.
void array_move_right(const ArrayValue& input, ArrayValue& output);
void array_move_left(const ArrayValue& input, ArrayValue& output);
void array_cumulate(const ArrayValue& input, ArrayValue& output);
