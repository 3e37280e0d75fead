#include "bench/prepared_corpus.h"

#include <cmath>

namespace {

// Every term and level holds abs, so that neither peer can fold the text into fewer operations by
// algebra, which the exact rounding of each operation rules out for Quorvel.
constexpr int kSumTerms = 21;
constexpr int kNestedGroups = 4;
constexpr int kNestedDepth = 23;
constexpr float kNestedFactor = 0.5f;

// A double, as the engine widens every operand, rounded once on return.
double Wide(float value) {
    return static_cast<double>(value);
}

void FloorPolynomial(std::size_t rows, const float* x, const float*, float* results) {
    for (std::size_t i = 0; i < rows; ++i)
        results[i] = x[i] * x[i] + 3.0f * x[i] - 1.0f;
}

// Two libm calls per row, as the text makes: bench/CMakeLists.txt keeps the compiler from merging
// them into one sincos.
void FloorSinCos(std::size_t rows, const float* x, const float*, float* results) {
    const float root = static_cast<float>(std::sqrt(2.0));
    for (std::size_t i = 0; i < rows; ++i) {
        const float sine = static_cast<float>(std::sin(Wide(x[i])));
        const float cosine = static_cast<float>(std::cos(Wide(x[i])));
        results[i] = sine * cosine + root;
    }
}

void FloorLerp(std::size_t rows, const float* x, const float*, float* results) {
    for (std::size_t i = 0; i < rows; ++i)
        results[i] = static_cast<float>(Wide(x[i]) + (2.0 - Wide(x[i])) * 0.5);
}

void FloorMaxMin(std::size_t rows, const float* x, const float* y, float* results) {
    for (std::size_t i = 0; i < rows; ++i) {
        const float larger = y[i] > x[i] ? y[i] : x[i];
        results[i] = larger + 1.0f * 3.0f;
    }
}

void FloorBrackets(std::size_t rows, const float* x, const float*, float* results) {
    for (std::size_t i = 0; i < rows; ++i)
        results[i] = ((x[i] + 1.0f) * 2.0f - 3.0f) / 4.0f;
}

// A power of two squares: the square of a float is exact in double, so the product rounded once
// is pow's value (the program squares too).
void FloorSquares(std::size_t rows, const float* x, const float* y, float* results) {
    for (std::size_t i = 0; i < rows; ++i) {
        results[i] = static_cast<float>(Wide(x[i]) * Wide(x[i])) +
                     static_cast<float>(Wide(y[i]) * Wide(y[i]));
    }
}

void FloorSumOfTerms(std::size_t rows, const float* x, const float*, float* results) {
    for (std::size_t i = 0; i < rows; ++i) {
        float sum = std::fabs(x[i] - 1.0f);
        for (int term = 2; term <= kSumTerms; ++term)
            sum = sum + std::fabs(x[i] - static_cast<float>(term));
        results[i] = sum;
    }
}

void FloorNestedGroups(std::size_t rows, const float* x, const float*, float* results) {
    for (std::size_t i = 0; i < rows; ++i) {
        float sum = 0.0f;
        for (int group = 1; group <= kNestedGroups; ++group) {
            float value = x[i];
            for (int level = 0; level < kNestedDepth; ++level)
                value = std::fabs(value * kNestedFactor - static_cast<float>(group));
            sum = group == 1 ? value : sum + value;
        }
        results[i] = sum;
    }
}

std::string Quoted(const std::string& text) {
    return "`" + text + "`";
}

}  // namespace

std::string BuildSumOfTerms() {
    std::string text;
    for (int term = 1; term <= kSumTerms; ++term)
        text += (term == 1 ? "abs(x-" : "+abs(x-") + std::to_string(term) + ")";
    return text;
}

std::string BuildNestedGroups() {
    std::string text;
    for (int group = 1; group <= kNestedGroups; ++group) {
        std::string inner = "x";
        for (int level = 0; level < kNestedDepth; ++level)
            inner = "abs(" + inner + "*0.5-" + std::to_string(group) + ")";
        text += (group == 1 ? "" : "+") + inner;
    }
    return text;
}

std::vector<PreparedEntry> BuildPreparedCorpus() {
    std::vector<PreparedEntry> corpus = {
        {"polynomial", "", "x*x+3*x-1", false, FloorPolynomial},
        {"sincos", "", "sin(x)*cos(x)+sqrt(2)", true, FloorSinCos},
        {"lerp", "", "lerp(x,2,0.5)", false, FloorLerp},
        {"maxmin", "", "max(x,y)+min(1,2)*3", false, FloorMaxMin},
        {"brackets", "", "(((x+1)*2)-3)/4", false, FloorBrackets},
        {"squares", "", "x^2+y^2", false, FloorSquares},
    };
    for (PreparedEntry& entry : corpus)
        entry.title = Quoted(entry.text);
    corpus.push_back({"sum200", "sum `abs(x-1)+...+abs(x-21)`, 200 bytes", BuildSumOfTerms(), false,
                      FloorSumOfTerms});
    corpus.push_back({"nested1019", "4 groups `abs(abs(...)*0.5-k)` 23 deep, 1019 bytes",
                      BuildNestedGroups(), false, FloorNestedGroups});
    return corpus;
}

std::vector<float> XColumn(std::size_t rows) {
    std::vector<float> x(rows);
    for (std::size_t i = 0; i < rows; ++i)
        x[i] = static_cast<float>(-4.0 + 8.0 * static_cast<double>(i) / static_cast<double>(rows));
    return x;
}
