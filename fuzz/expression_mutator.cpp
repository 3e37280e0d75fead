// A structure-aware mutator for inputs that start with an expression (the request and the
// program targets): besides libFuzzer's byte edits, it writes whole expressions from the
// expression generator, or splices a generated piece into the one at hand, so that calls with
// the right argument counts, matched bracket kinds, literals of every form and texts at the
// fixed limits turn up far more often than byte edits find them. Whatever follows the first
// NUL (the value texts) is kept.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "tests/engine/expression_generator.h"

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

namespace {

std::size_t Store(const std::string& text, std::uint8_t* data, std::size_t maxSize) {
    const std::size_t size = text.size() < maxSize ? text.size() : maxSize;
    std::memcpy(data, text.data(), size);
    return size;
}

}  // namespace

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size,
                                               std::size_t maxSize, unsigned int seed) {
    if (seed % 3 == 0) return LLVMFuzzerMutate(data, size, maxSize);
    ExpressionGenerator generator(seed);
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = input.find('\0');
    const std::string expression = input.substr(0, nul);
    const std::string values = nul == std::string::npos ? std::string() : input.substr(nul);
    std::string generated = generator.Next();
    if (seed % 3 == 2 && !expression.empty()) {
        // In place of a span of the expression, at a place the seed picks.
        const std::size_t at = (seed >> 2) % (expression.size() + 1);
        const std::size_t span = (seed >> 12) % 16;
        generated = expression.substr(0, at) + generated +
                    expression.substr(std::min(at + span, expression.size()));
    }
    return Store(generated + values, data, maxSize);
}
