#include "library/array_value.h"

#include <cfloat>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "library/single_rounding.h"

namespace {

void* AllocateWithMalloc(std::size_t bytes) {
    return std::malloc(bytes);
}

ElementAllocator g_elementAllocator = AllocateWithMalloc;

bool HasElements(const ArrayValue& value) {
    return value.elements != nullptr && value.count > 0;
}

// The count the value really holds: a count without storage, or storage without a count,
// holds none.
std::uint32_t HeldCount(const ArrayValue& value) {
    return HasElements(value) ? value.count : 0;
}

bool IsInOneState(const ArrayValue& value) {
    return (value.elements != nullptr) == (value.count > 0);
}

bool ByteSizeFits(std::uint32_t count) {
    if constexpr (sizeof(std::size_t) > sizeof(std::uint32_t)) {
        return true;
    } else {
        return count <= SIZE_MAX / sizeof(float);
    }
}

// Small scalars are not spread: they leave zeros and keep their own field.
bool IsNearZero(float s) {
    return -FLT_EPSILON < s && s < FLT_EPSILON;
}

void FillFromElements(const ArrayValue& value, float* storage, std::uint32_t newCount) {
    const std::uint32_t kept = value.count < newCount ? value.count : newCount;
    std::memcpy(storage, value.elements, kept * sizeof(float));
    if (newCount > kept) std::memset(storage + kept, 0, (newCount - kept) * sizeof(float));
}

void FillFromScalar(ArrayValue& value, float* storage, std::uint32_t newCount) {
    if (IsNearZero(value.scalar)) {
        std::memset(storage, 0, newCount * sizeof(float));
        return;
    }
    for (std::uint32_t i = 0; i < newCount; ++i)
        storage[i] = value.scalar;
    value.scalar = 0.0f;
}

void GiveBackStorage(ArrayValue& value) {
    std::free(value.elements);
    value.elements = nullptr;
    value.count = 0;
}

float RoundedSum(float a, float b) {
    return RoundToSingle(static_cast<double>(a) + static_cast<double>(b));
}

float SumElements(const ArrayValue& value) {
    float sum = 0.0f;
    for (std::uint32_t i = 0; i < value.count; ++i)
        sum = RoundedSum(sum, value.elements[i]);
    return sum;
}

// Makes the output a scalar copy of a scalar input, or an array of the input's size. True when
// the output now has the input's elements to be written.
bool PrepareOutput(const ArrayValue& input, ArrayValue& output) {
    if (!HasElements(input)) {
        const float s = input.scalar;
        GiveBackStorage(output);
        output.scalar = s;
        return false;
    }
    return ResizeArray(output, input.count);
}

}  // namespace

ArrayValue::~ArrayValue() {
    std::free(elements);
}

ElementAllocator ReplaceElementAllocator(ElementAllocator allocator) {
    const ElementAllocator previous = g_elementAllocator;
    g_elementAllocator = allocator != nullptr ? allocator : AllocateWithMalloc;
    return previous;
}

bool ResizeArray(ArrayValue& value, std::uint32_t newCount) {
    if (IsInOneState(value) && newCount == value.count) return true;
    if (newCount == 0) {
        GiveBackStorage(value);
        return true;
    }
    if (!ByteSizeFits(newCount)) return false;
    auto* storage = static_cast<float*>(g_elementAllocator(newCount * sizeof(float)));
    if (storage == nullptr) return false;
    if (HasElements(value)) {
        FillFromElements(value, storage, newCount);
    } else {
        FillFromScalar(value, storage, newCount);
    }
    std::free(value.elements);
    value.elements = storage;
    value.count = newCount;
    return true;
}

float array_add(const ArrayValue& value) {
    if (!HasElements(value)) return value.scalar;
    return SumElements(value);
}

float array_min(const ArrayValue& value) {
    if (!HasElements(value)) return value.scalar;
    float m = value.elements[0];
    for (std::uint32_t i = 1; i < value.count; ++i) {
        if (value.elements[i] < m) m = value.elements[i];
    }
    return m;
}

float array_max(const ArrayValue& value) {
    if (!HasElements(value)) return value.scalar;
    float m = value.elements[0];
    for (std::uint32_t i = 1; i < value.count; ++i) {
        if (value.elements[i] > m) m = value.elements[i];
    }
    return m;
}

float array_ave(const ArrayValue& value) {
    if (!HasElements(value)) return value.scalar;
    const double sum = static_cast<double>(SumElements(value));
    return RoundToSingle(sum / static_cast<double>(value.count));
}

// Runs downwards so that, in place, each element is read before it is overwritten.
void array_move_right(const ArrayValue& input, ArrayValue& output) {
    if (!PrepareOutput(input, output)) return;
    for (std::uint32_t i = HeldCount(input) - 1; i >= 1; --i) {
        output.elements[i] = input.elements[i - 1];
    }
}

void array_move_left(const ArrayValue& input, ArrayValue& output) {
    if (!PrepareOutput(input, output)) return;
    for (std::uint32_t i = 0; i + 1 < HeldCount(input); ++i) {
        output.elements[i] = input.elements[i + 1];
    }
}

// In place, element i - 1 already holds the running sum when element i is added to it.
void array_cumulate(const ArrayValue& input, ArrayValue& output) {
    if (!PrepareOutput(input, output)) return;
    for (std::uint32_t i = 1; i < HeldCount(input); ++i) {
        output.elements[i] = RoundedSum(input.elements[i - 1], output.elements[i]);
    }
}
