#pragma once

#include <cstddef>

// Output gathered in one fixed block and written with as few write() calls as possible.

inline constexpr std::size_t kOutputCapacity = std::size_t{1} << 16;

struct OutputBuffer {
    int fd;
    int error;  // errno of the first failed write or close; once set, nothing more is written
    std::size_t used;
    char data[kOutputCapacity];
};

void InitOutput(OutputBuffer& out, int fd);

// Each returns false once the output has failed.
bool AppendBytes(OutputBuffer& out, const char* bytes, std::size_t length);
bool AppendLine(OutputBuffer& out, const char* text);
bool FlushOutput(OutputBuffer& out);
// Flushes and closes the descriptor: a full disk may only show when it is closed.
bool CloseOutput(OutputBuffer& out);

// Writes every byte, resuming after signals, partial writes and a non-blocking descriptor.
// Returns 0 or the errno of the failure.
int WriteAll(int fd, const char* bytes, std::size_t length);
