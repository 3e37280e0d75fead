#pragma once

#include <cstddef>
#include <cstdint>

// The length of the well-formed UTF-8 character at text (1 to 4 bytes, none beyond limit), with
// its code point; 0 for a byte that starts none, which then stands for itself.
int Utf8CharacterAt(const char* text, std::size_t limit, char32_t& codePoint);

// The column of a byte column in characters: each well-formed character counts one, and so does
// each byte of an ill-formed sequence. 0 stays 0.
std::int32_t CharacterColumn(const char* text, std::int32_t byteColumn);

// A text being written into a fixed buffer: always NUL-terminated, always whole UTF-8 characters,
// so that a text cut to its capacity stays valid.
struct TextBuffer {
    char* text;
    std::size_t capacity;  // above 0
    std::size_t length;
};

// Appends what fits of length bytes of well-formed UTF-8, ending on a character boundary.
void AppendText(TextBuffer& buffer, const char* piece, std::size_t length);
void AppendText(TextBuffer& buffer, const char* piece);

// Appends bytes as the user typed them where they are well-formed UTF-8 and visible; a tab as
// \t, other control bytes and every byte of an ill-formed sequence as \xB0-style escapes.
void AppendQuoted(TextBuffer& buffer, const char* bytes, std::size_t length);
