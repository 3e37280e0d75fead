#include "library/array_value.h"

#include <gtest/gtest.h>

#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <utility>
#include <vector>

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

// A value as a row of a table describes it: a scalar, or elements.
struct Shape {
    bool isArray;
    float scalar;
    std::vector<float> elements;
};

Shape Scalar(float s) {
    return {false, s, {}};
}
Shape Array(std::vector<float> e, float s = 0) {
    return {true, s, std::move(e)};
}

void Build(ArrayValue& value, const Shape& shape) {
    value.scalar = shape.scalar;
    if (!shape.isArray) return;
    value.count = static_cast<std::uint32_t>(shape.elements.size());
    value.elements = static_cast<float*>(std::malloc(shape.elements.size() * sizeof(float)));
    for (std::size_t i = 0; i < shape.elements.size(); ++i)
        value.elements[i] = shape.elements[i];
}

// As bit patterns, so that signed zeros and NaNs compare exactly.
std::vector<std::uint32_t> BitsOf(const float* elements, std::size_t count) {
    std::vector<std::uint32_t> bits;
    for (std::size_t i = 0; i < count; ++i)
        bits.push_back(std::bit_cast<std::uint32_t>(elements[i]));
    return bits;
}

void ExpectShape(const ArrayValue& value, const Shape& want, const char* label) {
    EXPECT_EQ(std::bit_cast<std::uint32_t>(value.scalar), std::bit_cast<std::uint32_t>(want.scalar))
        << label << ": scalar " << value.scalar;
    if (!want.isArray) {
        EXPECT_EQ(value.count, 0u) << label;
        EXPECT_EQ(value.elements, nullptr) << label;
        return;
    }
    ASSERT_NE(value.elements, nullptr) << label;
    EXPECT_EQ(BitsOf(value.elements, value.count),
              BitsOf(want.elements.data(), want.elements.size()))
        << label;
}

// Counts allocations and can refuse them; installed for one test and then undone.
int g_allocations = 0;
bool g_refuse = false;

void* CountingAllocator(std::size_t bytes) {
    ++g_allocations;
    return g_refuse ? nullptr : std::malloc(bytes);
}

class AllocatorScope {
  public:
    explicit AllocatorScope(bool refuse) : previous_(ReplaceElementAllocator(CountingAllocator)) {
        g_allocations = 0;
        g_refuse = refuse;
    }
    ~AllocatorScope() { ReplaceElementAllocator(previous_); }
    AllocatorScope(const AllocatorScope&) = delete;
    AllocatorScope& operator=(const AllocatorScope&) = delete;

  private:
    ElementAllocator previous_;
};

struct ResizeCase {
    const char* label;
    Shape before;
    std::uint32_t newCount;
    Shape after;
    int allocations;
};

const ResizeCase kResizeCases[] = {
    {"scalar 2.5 to 3", Scalar(2.5f), 3, Array({2.5f, 2.5f, 2.5f}, 0), 1},
    {"scalar 1e-08 to 2", Scalar(1e-08f), 2, Array({0, 0}, 1e-08f), 1},
    {"scalar -1e-08 to 1", Scalar(-1e-08f), 1, Array({0}, -1e-08f), 1},
    {"scalar FLT_EPSILON to 2", Scalar(FLT_EPSILON), 2, Array({FLT_EPSILON, FLT_EPSILON}, 0), 1},
    {"scalar -FLT_EPSILON to 2", Scalar(-FLT_EPSILON), 2, Array({-FLT_EPSILON, -FLT_EPSILON}, 0),
     1},
    {"scalar NaN to 2", Scalar(kNaN), 2, Array({kNaN, kNaN}, 0), 1},
    {"scalar 0 to 0", Scalar(0), 0, Scalar(0), 0},
    {"scalar 7 to 0", Scalar(7), 0, Scalar(7), 0},
    {"array 1 2 3 to 5", Array({1, 2, 3}, 9), 5, Array({1, 2, 3, 0, 0}, 9), 1},
    {"array 1 2 3 to 2", Array({1, 2, 3}), 2, Array({1, 2}), 1},
    {"array 1 2 3 to 3", Array({1, 2, 3}), 3, Array({1, 2, 3}), 0},
    {"array 1 2 3 to 0", Array({1, 2, 3}, 0.5f), 0, Scalar(0.5f), 0},
};

TEST(ResizeArray, KeepsSpreadsOrClearsElementsAsTheCountChanges) {
    for (const ResizeCase& row : kResizeCases) {
        AllocatorScope scope(false);
        ArrayValue value;
        Build(value, row.before);
        EXPECT_TRUE(ResizeArray(value, row.newCount)) << row.label;
        EXPECT_EQ(value.count, row.after.isArray ? row.newCount : 0u) << row.label;
        ExpectShape(value, row.after, row.label);
        EXPECT_EQ(g_allocations, row.allocations) << row.label;
    }
}

TEST(ResizeArray, RefusedStorageLeavesTheValueAsItWas) {
    for (const ResizeCase& row : kResizeCases) {
        AllocatorScope scope(true);
        ArrayValue value;
        Build(value, row.before);
        const float* storage = value.elements;
        const bool resized = ResizeArray(value, row.newCount);
        EXPECT_EQ(resized, row.allocations == 0) << row.label;
        if (!resized) {
            EXPECT_EQ(value.elements, storage) << row.label;
            ExpectShape(value, row.before, row.label);
        }
    }
}

// A value in neither state is taken as its scalar; a resize repairs it.
TEST(ResizeArray, TreatsAValueInNeitherStateAsItsScalar) {
    struct StrayCase {
        const char* label;
        bool withStorage;
        std::uint32_t count;
        std::uint32_t newCount;
        Shape after;
    };
    const StrayCase kStrays[] = {
        {"storage, count 0, to 0", true, 0, 0, Scalar(4)},
        {"storage, count 0, to 2", true, 0, 2, Array({4, 4}, 0)},
        {"count 3 without storage, to 3", false, 3, 3, Array({4, 4, 4}, 0)},
        {"count 3 without storage, to 0", false, 3, 0, Scalar(4)},
    };
    for (const StrayCase& row : kStrays) {
        ArrayValue value(4);
        value.count = row.count;
        if (row.withStorage) value.elements = static_cast<float*>(std::malloc(sizeof(float)));
        EXPECT_EQ(array_add(value), 4.0f) << row.label;
        EXPECT_EQ(array_min(value), 4.0f) << row.label;
        EXPECT_EQ(array_max(value), 4.0f) << row.label;
        EXPECT_EQ(array_ave(value), 4.0f) << row.label;
        ASSERT_TRUE(ResizeArray(value, row.newCount)) << row.label;
        EXPECT_EQ(value.count, row.newCount) << row.label;
        ExpectShape(value, row.after, row.label);
    }
}

struct ReductionCase {
    const char* label;
    Shape input;
    float add;
    float min;
    float max;
    float ave;
};

const ReductionCase kReductions[] = {
    {"1 2 3", Array({1, 2, 3}), 6, 1, 3, 2},
    {"1 2 2", Array({1, 2, 2}), 5, 1, 2, 0x1.aaaaaap+0f},
    {"rounded partial sums", Array({100000000, 1, -100000000}), 0, -100000000, 100000000, 0},
    {"scalar 4", Scalar(4), 4, 4, 4, 4},
    {"one element", Array({-2.5f}, 9), -2.5f, -2.5f, -2.5f, -2.5f},
    {"3 nan 1", Array({3, kNaN, 1}), kNaN, 1, 3, kNaN},
    {"nan 1", Array({kNaN, 1}), kNaN, kNaN, kNaN, kNaN},
    {"1 nan 3", Array({1, kNaN, 3}), kNaN, 1, 3, kNaN},
    {"2 2", Array({2, 2}), 4, 2, 2, 2},
    {"-0 0 keeps the earlier", Array({-0.0f, 0}), 0, -0.0f, -0.0f, 0},
    {"sum beyond float range", Array({3e38f, 3e38f, -3e38f}), INFINITY, -3e38f, 3e38f, INFINITY},
};

bool SameOrBothNaN(float a, float b) {
    if (std::isnan(b)) return std::isnan(a);
    return std::bit_cast<std::uint32_t>(a) == std::bit_cast<std::uint32_t>(b);
}

TEST(ArrayReductions, FoldElementsInIncreasingOrder) {
    for (const ReductionCase& row : kReductions) {
        ArrayValue value;
        Build(value, row.input);
        EXPECT_TRUE(SameOrBothNaN(array_add(value), row.add)) << row.label << " add";
        EXPECT_TRUE(SameOrBothNaN(array_min(value), row.min)) << row.label << " min";
        EXPECT_TRUE(SameOrBothNaN(array_max(value), row.max)) << row.label << " max";
        EXPECT_TRUE(SameOrBothNaN(array_ave(value), row.ave)) << row.label << " ave";
        ExpectShape(value, row.input, row.label);
    }
}

using ArrayToArrayFunction = void (*)(const ArrayValue&, ArrayValue&);

struct TransformCase {
    const char* label;
    ArrayToArrayFunction apply;
    Shape input;
    bool inPlace;
    Shape output;
    Shape result;
};

const TransformCase kTransforms[] = {
    {"right into scalar 0", array_move_right, Array({1, 2, 3}), false, Scalar(0), Array({0, 1, 2})},
    {"left into scalar 0", array_move_left, Array({1, 2, 3}), false, Scalar(0), Array({2, 3, 0})},
    {"cumulate into scalar 0", array_cumulate, Array({1, 2, 3}), false, Scalar(0),
     Array({0, 1, 2})},
    {"right into scalar 7", array_move_right, Array({1, 2, 3}), false, Scalar(7),
     Array({7, 1, 2}, 0)},
    {"right in place", array_move_right, Array({1, 2, 3}), true, {}, Array({1, 1, 2})},
    {"left in place", array_move_left, Array({1, 2, 3}), true, {}, Array({2, 3, 3})},
    {"cumulate in place", array_cumulate, Array({1, 2, 3}), true, {}, Array({1, 3, 6})},
    {"cumulate in place rounds each sum",
     array_cumulate,
     Array({100000000, 1, 1, -100000000}),
     true,
     {},
     Array({100000000, 100000000, 100000000, 0})},
    {"cumulate onto 1 2 3", array_cumulate, Array({1, 2, 3}), false, Array({1, 2, 3}),
     Array({1, 3, 5})},
    {"right onto a shorter output", array_move_right, Array({1, 2, 3}), false, Array({5, 6}),
     Array({5, 1, 2})},
    {"left onto a longer output", array_move_left, Array({1, 2, 3}), false, Array({5, 6, 7, 8}),
     Array({2, 3, 7})},
    {"right of one element", array_move_right, Array({1}), false, Scalar(9), Array({9}, 0)},
    {"left of one element", array_move_left, Array({1}), false, Array({5, 6}), Array({5})},
    {"cumulate of one element", array_cumulate, Array({1}), false, Scalar(1e-08f),
     Array({0}, 1e-08f)},
    {"right of scalar 4", array_move_right, Scalar(4), false, Array({1, 2}), Scalar(4)},
    {"left of scalar 4", array_move_left, Scalar(4), false, Array({1, 2}), Scalar(4)},
    {"cumulate of scalar 4", array_cumulate, Scalar(4), false, Scalar(8), Scalar(4)},
    {"right of scalar 4 in place", array_move_right, Scalar(4), true, {}, Scalar(4)},
};

TEST(ArrayTransforms, WriteTheShiftedOrRunningElements) {
    for (const TransformCase& row : kTransforms) {
        ArrayValue input;
        Build(input, row.input);
        ArrayValue separate;
        Build(separate, row.output);
        ArrayValue& output = row.inPlace ? input : separate;
        row.apply(input, output);
        ExpectShape(output, row.result, row.label);
        if (!row.inPlace) ExpectShape(input, row.input, row.label);
    }
}

TEST(ArrayTransforms, RefusedStorageLeavesTheOutputAsItWas) {
    for (const TransformCase& row : kTransforms) {
        ArrayValue input;
        Build(input, row.input);
        ArrayValue separate;
        Build(separate, row.output);
        ArrayValue& output = row.inPlace ? input : separate;
        const Shape before = row.inPlace ? row.input : row.output;
        const bool needsStorage =
            row.input.isArray &&
            (!before.isArray || before.elements.size() != row.input.elements.size());
        AllocatorScope scope(true);
        row.apply(input, output);
        ExpectShape(output, needsStorage ? before : row.result, row.label);
        EXPECT_EQ(g_allocations, needsStorage ? 1 : 0) << row.label;
    }
}

}  // namespace
