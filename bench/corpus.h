#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "engine/groups_and_calls.h"
#include "request/evaluation_request.h"

// One expression that every cell of the benchmark evaluates.
struct CorpusEntry {
    std::string id;     // short, used in benchmark names
    std::string title;  // as the result table shows it
    std::string text;
    bool worstCase;  // reported beside the corpus, not part of its mean
};

// The variable values every cell evaluates with.
inline constexpr const char* kXText = "1.5";
inline constexpr const char* kYText = "2";
inline constexpr const char* kZText = "0.5";
inline constexpr double kX = 1.5;
inline constexpr double kY = 2.0;
inline constexpr double kZ = 0.5;

inline constexpr std::size_t kLongestExpression = kExpressionCapacity - 1;
inline constexpr int kDeepestBracketLevel = kBracketDepthLimit;
inline constexpr std::size_t kLongestGroupText = kGroupCapacity - 1;

// "1+2+3+..." of exactly the given length; the last term is shortened to fit.
std::string BuildFlatSum(std::size_t length);

// Top-level groups joined by "+", each nested to the given bracket depth through alternating plain
// groups and one-argument calls, with calls whose own brackets stand at that depth innermost.
// Every group text stays within kLongestGroupText.
std::string BuildNestedCalls(std::size_t length, int depth);

// The corpus in benchmark order, the worst cases last.
std::vector<CorpusEntry> BuildCorpus();

// The deepest bracket nesting of a text, counting all three bracket kinds.
int BracketDepth(const std::string& text);

// The longest text between a bracket and its partner, brackets excluded.
std::size_t LongestGroupText(const std::string& text);
