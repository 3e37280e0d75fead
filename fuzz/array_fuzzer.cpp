// Drives array values through sequences of resizes, element writes, refused allocations, values
// in neither state and array functions, and checks every value after every step against a plain
// model kept beside it. Leaks are left to the leak checker, which runs after every input.

#include <fuzzer/FuzzedDataProvider.h>

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "library/array_value.h"

namespace {

constexpr int kPoolSize = 3;
constexpr std::uint32_t kLargestCount = 300;

// The scalar is what a value holds without elements; with elements it is only kept for a later
// resize to 0. A value without elements may be in neither state (a count without storage, or
// storage without a count) and must then behave as its scalar until it is next written.
struct Model {
    float scalar = 0.0f;
    std::vector<float> elements;
    std::uint32_t strayCount = 0;
    bool strayStorage = false;
};

bool IsStray(const Model& model) {
    return model.strayCount > 0 || model.strayStorage;
}

void Settle(Model& model) {
    model.strayCount = 0;
    model.strayStorage = false;
}

// The allocator refuses once when asked to, so that every call that needs storage can be seen
// failing.
bool g_refuseNextAllocation = false;

void* RefusingAllocator(std::size_t bytes) {
    if (g_refuseNextAllocation) {
        g_refuseNextAllocation = false;
        return nullptr;
    }
    return std::malloc(bytes);
}

// Values on both sides of the spread's zero test, and the ones that make sums and comparisons
// interesting.
constexpr float kInterestingValues[] = {
    0.0f,    -0.0f,       1.0f,         -1.0f,           2.5f, 1e-8f,
    -1e-8f,  FLT_EPSILON, -FLT_EPSILON, 0x1.fffffep-24f, 1e8f, -1e8f,
    FLT_MAX, -FLT_MAX,    INFINITY,     -INFINITY,       NAN,  -NAN,
    FLT_MIN, 0x1p-149f,   3.0f,
};

bool SameValue(float a, float b) {
    if (std::isnan(a) || std::isnan(b)) return std::isnan(a) && std::isnan(b);
    return std::memcmp(&a, &b, sizeof a) == 0;
}

[[noreturn]] void Violated(const char* what, int index) {
    std::fprintf(stderr, "array property violated: %s (value %d)\n", what, index);
    std::abort();
}

void Require(bool holds, const char* what, int index) {
    if (!holds) Violated(what, index);
}

void CheckMatches(const ArrayValue& value, const Model& model, int index) {
    const std::size_t count = model.elements.empty() ? model.strayCount : model.elements.size();
    Require(value.count == count, "element count", index);
    const bool storage = !model.elements.empty() || model.strayStorage;
    Require((value.elements != nullptr) == storage, "storage exactly when expected", index);
    for (std::size_t i = 0; i < model.elements.size(); ++i) {
        Require(SameValue(value.elements[i], model.elements[i]), "element value", index);
    }
    Require(SameValue(value.scalar, model.scalar), "scalar field", index);
}

// False when the resize needs storage and the allocation is refused; the value stays as it was.
bool ResizeModel(Model& model, std::uint32_t count, bool refused) {
    if (count == model.elements.size() && !IsStray(model)) return true;
    if (count == 0) {
        model.elements.clear();
        Settle(model);
        return true;
    }
    if (refused) return false;
    Settle(model);
    if (!model.elements.empty()) {
        model.elements.resize(count, 0.0f);
    } else if (model.scalar > -FLT_EPSILON && model.scalar < FLT_EPSILON) {
        model.elements.assign(count, 0.0f);
    } else {
        model.elements.assign(count, model.scalar);
        model.scalar = 0.0f;
    }
    return true;
}

float ModelSum(const Model& model) {
    float sum = 0.0f;
    for (float e : model.elements)
        sum = sum + e;
    return sum;
}

float ModelReduce(int function, const Model& model) {
    if (model.elements.empty()) return model.scalar;
    const std::vector<float>& e = model.elements;
    switch (function) {
        case 0:
            return ModelSum(model);
        case 1: {
            float m = e[0];
            for (float v : e)
                m = v < m ? v : m;
            return m;
        }
        case 2: {
            float m = e[0];
            for (float v : e)
                m = v > m ? v : m;
            return m;
        }
        default:
            return static_cast<float>(static_cast<double>(ModelSum(model)) /
                                      static_cast<double>(e.size()));
    }
}

float Reduce(int function, const ArrayValue& value) {
    switch (function) {
        case 0:
            return array_add(value);
        case 1:
            return array_min(value);
        case 2:
            return array_max(value);
        default:
            return array_ave(value);
    }
}

// The expected output from a snapshot of the input, so the in-place case is stated separately
// rather than inherited from the loop direction.
void ModelTransform(int function, const Model& input, Model& output, bool inPlace, bool refused) {
    if (input.elements.empty()) {
        const float scalar = input.scalar;
        output.elements.clear();
        Settle(output);
        output.scalar = scalar;
        return;
    }
    const std::vector<float> source = input.elements;
    const std::size_t n = source.size();
    if (!ResizeModel(output, static_cast<std::uint32_t>(n), refused)) return;
    std::vector<float>& out = output.elements;
    if (function == 0) {
        for (std::size_t i = 1; i < n; ++i)
            out[i] = source[i - 1];
    } else if (function == 1) {
        for (std::size_t i = 0; i + 1 < n; ++i)
            out[i] = source[i + 1];
    } else if (inPlace) {
        for (std::size_t i = 1; i < n; ++i)
            out[i] = out[i - 1] + source[i];
    } else {
        for (std::size_t i = 1; i < n; ++i)
            out[i] = source[i - 1] + out[i];
    }
}

void Transform(int function, const ArrayValue& input, ArrayValue& output) {
    switch (function) {
        case 0:
            array_move_right(input, output);
            break;
        case 1:
            array_move_left(input, output);
            break;
        default:
            array_cumulate(input, output);
            break;
    }
}

float PickValue(FuzzedDataProvider& provider) {
    if (provider.ConsumeBool()) return provider.PickValueInArray(kInterestingValues);
    const std::uint32_t bits = provider.ConsumeIntegral<std::uint32_t>();
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

std::uint32_t PickCount(FuzzedDataProvider& provider) {
    if (provider.ConsumeBool()) return provider.ConsumeIntegralInRange<std::uint32_t>(0, 3);
    return provider.ConsumeIntegralInRange<std::uint32_t>(0, kLargestCount);
}

// Rarely, so that most sequences build up arrays.
bool PickRefusal(FuzzedDataProvider& provider) {
    return provider.ConsumeIntegralInRange<int>(0, 7) == 0;
}

// Only a value without elements is made stray, so no storage is lost and none is shared.
void MakeStray(FuzzedDataProvider& provider, ArrayValue& value, Model& model) {
    if (value.elements != nullptr || value.count != 0) return;
    const auto count = provider.ConsumeIntegralInRange<std::uint32_t>(1, 3);
    if (provider.ConsumeBool()) {
        value.count = model.strayCount = count;
    } else {
        value.elements = static_cast<float*>(std::malloc(count * sizeof(float)));
        Require(value.elements != nullptr, "storage for a stray value", 0);
        model.strayStorage = true;
    }
}

enum Operation : int {
    kResize,
    kSetElement,
    kSetScalar,
    kReduce,
    kTransform,
    kMakeStray,
    kOperationCount
};

void RunStep(FuzzedDataProvider& provider, ArrayValue (&values)[kPoolSize],
             Model (&models)[kPoolSize]) {
    const int operation = provider.ConsumeIntegralInRange<int>(0, kOperationCount - 1);
    const int target = provider.ConsumeIntegralInRange<int>(0, kPoolSize - 1);
    ArrayValue& value = values[target];
    Model& model = models[target];
    switch (operation) {
        case kResize: {
            const std::uint32_t count = PickCount(provider);
            const bool refused = PickRefusal(provider);
            g_refuseNextAllocation = refused;
            const bool resized = ResizeArray(value, count);
            g_refuseNextAllocation = false;
            Require(resized == ResizeModel(model, count, refused), "resize outcome", target);
            break;
        }
        case kSetElement: {
            if (model.elements.empty()) break;
            const auto index =
                provider.ConsumeIntegralInRange<std::size_t>(0, model.elements.size() - 1);
            const float element = PickValue(provider);
            value.elements[index] = element;
            model.elements[index] = element;
            break;
        }
        case kSetScalar:
            value.scalar = model.scalar = PickValue(provider);
            break;
        case kReduce: {
            const int function = provider.ConsumeIntegralInRange<int>(0, 3);
            Require(SameValue(Reduce(function, value), ModelReduce(function, model)),
                    "array-to-value result", target);
            break;
        }
        case kTransform: {
            const int function = provider.ConsumeIntegralInRange<int>(0, 2);
            const int output = provider.ConsumeIntegralInRange<int>(0, kPoolSize - 1);
            const bool refused = PickRefusal(provider);
            g_refuseNextAllocation = refused;
            Transform(function, value, values[output]);
            g_refuseNextAllocation = false;
            ModelTransform(function, model, models[output], output == target, refused);
            CheckMatches(values[output], models[output], output);
            break;
        }
        case kMakeStray:
            MakeStray(provider, value, model);
            break;
        default:
            break;
    }
    CheckMatches(value, model, target);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    ReplaceElementAllocator(RefusingAllocator);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    ArrayValue values[kPoolSize];
    Model models[kPoolSize];
    for (int i = 0; i < kPoolSize; ++i) {
        values[i].scalar = models[i].scalar = PickValue(provider);
    }
    while (provider.remaining_bytes() > 0)
        RunStep(provider, values, models);
    return 0;
}
