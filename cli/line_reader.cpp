#include "cli/line_reader.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "cli/descriptor_wait.h"
#include "request/evaluation_request.h"

static_assert(kLineLimit == static_cast<std::size_t>(kExpressionCapacity) - 1,
              "a line is at most one expression");

namespace {

// More bytes than this without a "\n" cannot become a line within the limit, even if a
// "\r" comes last.
constexpr std::size_t kLongestPendingLine = kLineLimit + 1;

void SetLine(InputLine& line, char* text, std::size_t length) {
    if (length > 0 && text[length - 1] == '\r') --length;
    text[length] = '\0';
    const bool tooLong = length > kLineLimit;
    line.text = tooLong ? "" : text;
    line.tooLong = tooLong;
    line.hasNulByte = !tooLong && std::memchr(text, '\0', length) != nullptr;
}

void SetTooLongLine(InputLine& line) {
    line.text = "";
    line.tooLong = true;
    line.hasNulByte = false;
}

bool TakeBufferedLine(LineReader& reader, InputLine& line) {
    char* const start = reader.data + reader.begin;
    char* const newline = static_cast<char*>(std::memchr(start, '\n', reader.end - reader.begin));
    if (newline == nullptr) return false;
    reader.begin = static_cast<std::size_t>(newline - reader.data) + 1;
    if (reader.skipping) {
        reader.skipping = false;
        SetTooLongLine(line);
    } else {
        SetLine(line, start, static_cast<std::size_t>(newline - start));
    }
    return true;
}

// The last line is read as if a "\n" followed it.
bool TakeLastLine(LineReader& reader, InputLine& line) {
    if (reader.skipping) {
        reader.skipping = false;
        SetTooLongLine(line);
        return true;
    }
    if (reader.begin == reader.end) return false;
    SetLine(line, reader.data + reader.begin, reader.end - reader.begin);
    reader.begin = reader.end;
    return true;
}

ssize_t ReadSome(int fd, char* into, std::size_t room) {
    for (;;) {
        const ssize_t got = read(fd, into, room);
        if (got >= 0) return got;
        if (errno == EINTR) continue;
        if ((errno == EAGAIN || errno == EWOULDBLOCK) && WaitForDescriptor(fd, POLLIN)) continue;
        return -1;
    }
}

// Keeps only the pending partial line, moved to the front, then reads after it. False when the
// hook ended the input or the read failed.
bool Refill(LineReader& reader) {
    const std::size_t pending = reader.end - reader.begin;
    if (reader.skipping || pending > kLongestPendingLine) {
        reader.skipping = true;
        reader.begin = reader.end = 0;
    } else if (reader.begin > 0) {
        std::memmove(reader.data, reader.data + reader.begin, pending);
        reader.begin = 0;
        reader.end = pending;
    }
    const BeforeReadHook& hook = reader.beforeRead;
    const bool atLineStart = reader.end == 0 && !reader.skipping;
    if (hook.call != nullptr && !hook.call(hook.context, atLineStart)) return false;
    const ssize_t got = ReadSome(reader.fd, reader.data + reader.end, kInputBlock - reader.end);
    if (got < 0) {
        reader.error = errno;
        return false;
    }
    if (got == 0) reader.atEnd = true;
    reader.end += static_cast<std::size_t>(got);
    return true;
}

}  // namespace

void InitLineReader(LineReader& reader, int fd, BeforeReadHook beforeRead) {
    reader.fd = fd;
    reader.error = 0;
    reader.beforeRead = beforeRead;
    reader.begin = reader.end = 0;
    reader.atEnd = false;
    reader.skipping = false;
}

bool ReadLine(LineReader& reader, InputLine& line) {
    for (;;) {
        if (TakeBufferedLine(reader, line)) return true;
        if (reader.atEnd) return TakeLastLine(reader, line);
        if (!Refill(reader)) return false;
    }
}
