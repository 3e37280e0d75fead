#include "cli/output_buffer.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "cli/descriptor_wait.h"

int WriteAll(int fd, const char* bytes, std::size_t length) {
    while (length > 0) {
        const ssize_t written = write(fd, bytes, length);
        if (written > 0) {
            bytes += written;
            length -= static_cast<std::size_t>(written);
            continue;
        }
        if (written == 0) return EIO;
        if (errno == EINTR) continue;
        if ((errno == EAGAIN || errno == EWOULDBLOCK) && WaitForDescriptor(fd, POLLOUT)) continue;
        return errno;
    }
    return 0;
}

void InitOutput(OutputBuffer& out, int fd) {
    out.fd = fd;
    out.error = 0;
    out.used = 0;
}

bool FlushOutput(OutputBuffer& out) {
    if (out.error != 0) return false;
    out.error = WriteAll(out.fd, out.data, out.used);
    out.used = 0;
    return out.error == 0;
}

bool AppendBytes(OutputBuffer& out, const char* bytes, std::size_t length) {
    while (out.error == 0 && length > 0) {
        if (out.used == kOutputCapacity && !FlushOutput(out)) break;
        const std::size_t room = kOutputCapacity - out.used;
        const std::size_t part = length < room ? length : room;
        std::memcpy(out.data + out.used, bytes, part);
        out.used += part;
        bytes += part;
        length -= part;
    }
    return out.error == 0;
}

bool AppendLine(OutputBuffer& out, const char* text) {
    return AppendBytes(out, text, std::strlen(text)) && AppendBytes(out, "\n", 1);
}

bool CloseOutput(OutputBuffer& out) {
    if (!FlushOutput(out)) return false;
    // After a failed close the descriptor is gone anyway, so it is never retried. A descriptor
    // that was never open only matters if something was written, and that write failed already.
    if (close(out.fd) != 0 && errno != EINTR && errno != EBADF) out.error = errno;
    return out.error == 0;
}
