#pragma once

#include <cstddef>
#include <cstdint>

// A plain scalar (no elements, count 0) or an array of count >= 1 floats whose storage it owns.
// The storage is given back when the value is destroyed; a value cannot be copied, so no two
// values ever own the same storage. A value in neither state (storage with count 0, or a count
// without storage) is treated as the scalar it holds.
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

// Where element storage comes from: malloc unless replaced, so that a refused allocation can
// be exercised. A replacement must return storage that free accepts, or null.
using ElementAllocator = void* (*)(std::size_t bytes);
// Installs an allocator (null restores malloc) and returns the one it replaces.
ElementAllocator ReplaceElementAllocator(ElementAllocator allocator);

float array_add(const ArrayValue& value);
float array_min(const ArrayValue& value);
float array_max(const ArrayValue& value);
float array_ave(const ArrayValue& value);

// Input and output may be the same value. When the output cannot be given the input's size,
// it is left as it was.
void array_move_right(const ArrayValue& input, ArrayValue& output);
void array_move_left(const ArrayValue& input, ArrayValue& output);
void array_cumulate(const ArrayValue& input, ArrayValue& output);
