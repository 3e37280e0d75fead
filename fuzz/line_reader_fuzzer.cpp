// Feeds a byte stream to the line reader the way a terminal or a slow writer delivers it: in
// pieces whose sizes the input chooses, each written into a pipe just before the reader would
// wait for it. The lines read must be those of a plain split of the whole stream. The first
// byte picks the piece sizes; the rest is the stream.

#include <fcntl.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cli/line_reader.h"

namespace {

struct ExpectedLine {
    std::string text;
    bool tooLong;
    bool hasNulByte;
};

// The lines as the reader promises them: split at "\n", one "\r" before it dropped, a last line
// without "\n" kept, text up to a NUL, nothing of an over-long line.
std::vector<ExpectedLine> SplitLines(const std::string& stream) {
    std::vector<ExpectedLine> lines;
    std::size_t start = 0;
    while (start < stream.size()) {
        std::size_t end = stream.find('\n', start);
        const std::size_t next = end == std::string::npos ? stream.size() : end + 1;
        if (end == std::string::npos) end = stream.size();
        std::string line = stream.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const bool tooLong = line.size() > kLineLimit;
        const bool hasNul = !tooLong && line.find('\0') != std::string::npos;
        lines.push_back({tooLong ? "" : line.substr(0, line.find('\0')), tooLong, hasNul});
        start = next;
    }
    return lines;
}

// Hands the reader the next piece just before it would wait, then the end of the stream.
struct Writer {
    int fd;
    const std::uint8_t* bytes;
    std::size_t left;
    unsigned pieceSeed;
};

bool WriteNextPiece(void* context, bool) {
    Writer& writer = *static_cast<Writer*>(context);
    if (writer.fd < 0) return true;
    if (writer.left == 0) {
        close(writer.fd);
        writer.fd = -1;
        return true;
    }
    writer.pieceSeed = writer.pieceSeed * 1103515245u + 12345u;
    std::size_t piece = 1 + (writer.pieceSeed >> 16) % 2048;
    if (piece > writer.left) piece = writer.left;
    if (write(writer.fd, writer.bytes, piece) != static_cast<ssize_t>(piece)) std::abort();
    writer.bytes += piece;
    writer.left -= piece;
    return true;
}

[[noreturn]] void Differs(std::size_t index, const char* what) {
    std::fprintf(stderr, "line %zu differs from the plain split: %s\n", index + 1, what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0 || size > 60000) return 0;  // the pipe holds any one piece
    static LineReader reader;
    int ends[2];
    if (pipe2(ends, O_CLOEXEC) != 0) std::abort();
    Writer writer{ends[1], data + 1, size - 1, data[0]};
    InitLineReader(reader, ends[0], BeforeReadHook{WriteNextPiece, &writer});
    const std::vector<ExpectedLine> expected =
        SplitLines(std::string(reinterpret_cast<const char*>(data + 1), size - 1));
    std::size_t count = 0;
    InputLine line;
    while (ReadLine(reader, line)) {
        if (count >= expected.size()) Differs(count, "one line too many");
        const ExpectedLine& want = expected[count];
        if (line.tooLong != want.tooLong) Differs(count, "too long or not");
        if (line.hasNulByte != want.hasNulByte) Differs(count, "NUL byte or not");
        if (want.text != line.text) Differs(count, "text");
        ++count;
    }
    if (reader.error != 0 || count != expected.size()) Differs(count, "lines missing");
    if (writer.fd >= 0) close(writer.fd);
    close(ends[0]);
    return 0;
}
