#include "bench/corpus.h"

#include <algorithm>
#include <array>
#include <cassert>

namespace {

// Calls of functions that every parser under test knows, so all evaluate the same text.
constexpr std::array<const char*, 6> kInnermostCalls = {"max(x,y)", "sin(x)",  "min(y,z)",
                                                        "cos(z)",   "sqrt(y)", "abs(x)"};

// Joins term(0), term(1), ... with "+" up to exactly length bytes. When the next term does not
// fit, a run of ones takes the remaining bytes as the last term.
template <typename Term>
std::string JoinTermsToLength(std::size_t length, Term term) {
    std::string text;
    for (std::size_t i = 0;; ++i) {
        const std::string value = term(i);
        const std::size_t size = value.size() + (text.empty() ? 0 : 1);
        if (text.size() + size > length) break;
        const std::size_t rest = length - text.size() - size;
        if (rest == 1) break;  // a lone "+" cannot end a sum
        if (!text.empty()) text += '+';
        text += value;
        if (rest == 0) return text;
    }
    const std::size_t rest = length - text.size();
    if (text.empty()) return std::string(rest, '1');
    text += '+';
    text.append(rest - 1, '1');
    return text;
}

std::string Quoted(const char* text) {
    std::string quoted = "`";
    quoted += text;
    quoted += '`';
    return quoted;
}

// One top-level group of exactly length bytes nested to depth.
std::string NestedChunk(std::size_t length, int depth) {
    std::string opening;
    std::string closing;
    for (int level = 1; level < depth; ++level) {
        opening += level % 2 == 1 ? "(" : "abs(";
        closing += ")";
    }
    assert(length > opening.size() + closing.size());
    const std::size_t inner = length - opening.size() - closing.size();
    const auto call = [](std::size_t i) {
        return std::string(kInnermostCalls[i % kInnermostCalls.size()]);
    };
    opening += JoinTermsToLength(inner, call);
    opening += closing;
    return opening;
}

}  // namespace

std::string BuildFlatSum(std::size_t length) {
    return JoinTermsToLength(length, [](std::size_t i) { return std::to_string(i + 1); });
}

std::string BuildNestedCalls(std::size_t length, int depth) {
    assert(depth >= 2);
    // A top-level group holds at most kLongestGroupText bytes between its two brackets, and each
    // further group costs one "+" to join.
    const std::size_t widest = kLongestGroupText + 2;
    const std::size_t chunks = (length + 1 + widest) / (widest + 1);
    const std::size_t available = length - (chunks - 1);
    std::string text;
    for (std::size_t i = 0; i < chunks; ++i) {
        if (i > 0) text += "+";
        const std::size_t size = available / chunks + (i < available % chunks ? 1 : 0);
        text += NestedChunk(size, depth);
    }
    return text;
}

std::vector<CorpusEntry> BuildCorpus() {
    std::vector<CorpusEntry> corpus;
    for (const char* text : {"1+2*3", "(1+2)*3-4/5", "x*2+y*3-z", "sin(x)*cos(y)+sqrt(2)",
                             "max(x,y)+min(1,2)*3", "((((x+1)*2)+3)*4)", "1.5e3+31"}) {
        corpus.push_back({text, Quoted(text), text, false});
    }
    corpus.push_back({"sum200", "flat sum `1+2+...+70`, 200 bytes", BuildFlatSum(200), false});
    for (const char* text : {"x^2+y^2-2*x*y", "1+(2*(3-(4*(5+(6*(7-(8*(x+y))))))))"}) {
        corpus.push_back({text, Quoted(text), text, false});
    }
    corpus.push_back({"nested1023", "worst case: groups and calls 32 deep, 1023 bytes",
                      BuildNestedCalls(kLongestExpression, kDeepestBracketLevel), true});
    corpus.push_back(
        {"flat1023", "worst case: flat sum, 1023 bytes", BuildFlatSum(kLongestExpression), true});
    return corpus;
}

int BracketDepth(const std::string& text) {
    int depth = 0;
    int deepest = 0;
    for (char c : text) {
        if (c == '(' || c == '[' || c == '{') deepest = std::max(deepest, ++depth);
        if (c == ')' || c == ']' || c == '}') --depth;
    }
    return deepest;
}

std::size_t LongestGroupText(const std::string& text) {
    std::vector<std::size_t> openedAt;
    std::size_t longest = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '(' || c == '[' || c == '{') openedAt.push_back(i);
        if ((c == ')' || c == ']' || c == '}') && !openedAt.empty()) {
            longest = std::max(longest, i - openedAt.back() - 1);
            openedAt.pop_back();
        }
    }
    return longest;
}
