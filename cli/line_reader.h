#pragma once

#include <cstddef>

// Splits a byte stream into lines in a fixed buffer: the "\n" and one "\r" before it are
// removed, a last line without "\n" counts, and a line too long for an expression is
// reported as such while the rest of it is skipped, so memory stays bounded.

inline constexpr std::size_t kInputBlock = std::size_t{1} << 16;
inline constexpr std::size_t kLineLimit = 1023;  // the longest expression

struct InputLine {
    const char* text;  // NUL-terminated; valid until the next ReadLine; empty when tooLong
    bool tooLong;      // more than kLineLimit bytes
    bool hasNulByte;   // text stops at the first NUL, so the line cannot be evaluated as read
};

// Called before every read() that may block; atLineStart tells whether a partial line is
// pending. Returning false ends the input.
struct BeforeReadHook {
    bool (*call)(void* context, bool atLineStart);
    void* context;
};

struct LineReader {
    int fd;
    int error;  // errno of a failed read, 0 otherwise
    BeforeReadHook beforeRead;
    std::size_t begin;  // the unread bytes are data[begin, end)
    std::size_t end;
    bool atEnd;
    bool skipping;  // the rest of an over-long line is being dropped
    char data[kInputBlock + 1];
};

void InitLineReader(LineReader& reader, int fd, BeforeReadHook beforeRead);
// False at the end of the input, when the hook ended it, or after a failed read (error set).
bool ReadLine(LineReader& reader, InputLine& line);
