#pragma once

#include <cstdint>
#include <string>

// Random expression texts for comparing two engines: mostly well-formed expressions over every
// literal form, name, operator, bracket kind and call, with a share of broken ones, texts at the
// fixed limits (63-character tokens, 255-character groups, 31 nested brackets, 1023 bytes) and
// random byte edits. The same seed gives the same texts.
class ExpressionGenerator {
  public:
    explicit ExpressionGenerator(std::uint64_t seed) : state_(seed) {}

    std::string Next();

  private:
    std::uint64_t Below(std::uint64_t bound);
    bool Percent(int chance) { return Below(100) < static_cast<std::uint64_t>(chance); }
    char Pick(const char* characters);

    void Expression(std::string& out, int depth);
    void Operand(std::string& out, int depth);
    void Operator(std::string& out);
    void Spaces(std::string& out);
    void Group(std::string& out, int depth);
    void Call(std::string& out, int depth);
    void Number(std::string& out);
    void Scientific(std::string& out);
    void Digits(std::string& out, const char* alphabet, std::uint64_t count);
    void Name(std::string& out);
    std::string AtALimit();
    void Edit(std::string& text);

    std::uint64_t state_;
};

// The text with every byte outside printable ASCII as \xNN, for a report.
std::string Escaped(const std::string& text);
