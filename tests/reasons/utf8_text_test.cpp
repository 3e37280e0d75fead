#include "reasons/utf8_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct ColumnRow {
    const char* text;
    std::int32_t byteColumn;
    std::int32_t characterColumn;
};

// Well-formed characters count one each; every byte of an ill-formed sequence counts one.
const ColumnRow kColumnRows[] = {
    {"abc", 3, 3},
    {"(中]", 5, 3},
    {"(1，2]", 7, 5},
    {"\xF0\x9F\x98\x80x", 5, 2},
    {"\xB0\xB0x", 3, 3},
    {"\xE4\xB8x", 3, 3},          // a cut three-byte sequence
    {"\xC0\xAFx", 3, 3},          // an overlong slash
    {"\xED\xA0\x80x", 4, 4},      // a surrogate
    {"\xF4\x90\x80\x80x", 5, 5},  // past U+10FFFF
    {"ab", 3, 3},                 // one past the end
    {"x", 0, 0},
};

TEST(CharacterColumn, CountsCharacters) {
    for (const ColumnRow& row : kColumnRows) {
        EXPECT_EQ(CharacterColumn(row.text, row.byteColumn), row.characterColumn) << row.text;
    }
}

struct CutRow {
    const char* piece;
    std::size_t capacity;
    const char* kept;
};

const CutRow kCutRows[] = {
    {"abc", 3, "ab"},  {"a中", 2, "a"},   {"a中", 4, "a"},
    {"a中", 5, "a中"}, {"中中", 6, "中"}, {"\xF0\x9F\x98\x80", 4, ""},
};

TEST(AppendText, CutsAtACharacterBoundary) {
    for (const CutRow& row : kCutRows) {
        char text[16];
        TextBuffer buffer{text, row.capacity, 0};
        AppendText(buffer, row.piece);
        EXPECT_STREQ(text, row.kept) << row.piece << " in " << row.capacity;
        EXPECT_EQ(buffer.length, std::string(row.kept).size());
    }
}

struct QuoteRow {
    std::string bytes;
    const char* shown;
};

const QuoteRow kQuoteRows[] = {
    {"abc", "abc"},
    {"中x", "中x"},
    {"\xB0", "\\xB0"},
    {"a\tb", "a\\tb"},
    {std::string("a\x01\x7F", 3), "a\\x01\\x7F"},
    {"\xE4\xB8", "\\xE4\\xB8"},
    {"\xC0\xAF", "\\xC0\\xAF"},
};

TEST(AppendQuoted, KeepsWellFormedTextAndEscapesTheRest) {
    for (const QuoteRow& row : kQuoteRows) {
        char text[64];
        TextBuffer buffer{text, sizeof text, 0};
        AppendQuoted(buffer, row.bytes.data(), row.bytes.size());
        EXPECT_STREQ(text, row.shown);
    }
}

}  // namespace
