#pragma once

// Waits until a non-blocking descriptor is ready for events (POLLIN, POLLOUT), resuming after
// signals. False when poll() itself fails.
bool WaitForDescriptor(int fd, short events);
