#include "cli/descriptor_wait.h"

#include <poll.h>

#include <cerrno>

bool WaitForDescriptor(int fd, short events) {
    pollfd entry{fd, events, 0};
    while (poll(&entry, 1, -1) < 0) {
        if (errno != EINTR) return false;
    }
    return true;
}
