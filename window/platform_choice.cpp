#include "window/platform_choice.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool IsSet(const char* value) {
    return value != nullptr && value[0] != '\0';
}

bool Chose(const char* chosenPlatform, const char* prefix) {
    return std::strncmp(chosenPlatform, prefix, std::strlen(prefix)) == 0;
}

constexpr char kCannotKeepAbove[] =
    "quorvel: this Wayland session has no X server, so the window cannot be kept above other "
    "windows; use \"Always on Top\" or \"Keep Above\" in the desktop's window menu\n";

constexpr char kNoDisplay[] =
    "quorvel: no display to show the window on (neither DISPLAY nor WAYLAND_DISPLAY names one "
    "that answers); quorvel-eval evaluates expressions without one\n";

// Qt ends the process when its platform cannot connect, so the displays are tried first.
bool AnswersAsX(const char* display) {
    if (!IsSet(display)) return false;
    xcb_connection_t* connection = xcb_connect(display, nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers;
}

// A Wayland display is a socket: its name as a path, or relative to XDG_RUNTIME_DIR.
bool AnswersAsWayland(const char* name) {
    if (!IsSet(name)) return false;
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const char* directory = std::getenv("XDG_RUNTIME_DIR");
    const int length = name[0] == '/'
                           ? std::snprintf(address.sun_path, sizeof address.sun_path, "%s", name)
                           : std::snprintf(address.sun_path, sizeof address.sun_path, "%s/%s",
                                           IsSet(directory) ? directory : "", name);
    if (length < 0 || static_cast<std::size_t>(length) >= sizeof address.sun_path) return false;
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) return false;
    const bool answers =
        connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return answers;
}

}  // namespace

PlatformChoice ChoosePlatform(const char* waylandDisplay, const char* display,
                              const char* chosenPlatform) {
    if (IsSet(chosenPlatform)) {
        if (Chose(chosenPlatform, "wayland")) {
            return IsSet(waylandDisplay) ? PlatformChoice::kWaylandOnly
                                         : PlatformChoice::kNoDisplay;
        }
        if (Chose(chosenPlatform, "xcb") && !IsSet(display)) return PlatformChoice::kNoDisplay;
        return PlatformChoice::kAsGiven;
    }
    if (!IsSet(waylandDisplay))
        return IsSet(display) ? PlatformChoice::kAsGiven : PlatformChoice::kNoDisplay;
    return IsSet(display) ? PlatformChoice::kX11 : PlatformChoice::kWaylandOnly;
}

bool ApplyPlatformChoice() {
    const char* chosen = std::getenv("QT_QPA_PLATFORM");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    const char* display = std::getenv("DISPLAY");
    switch (ChoosePlatform(AnswersAsWayland(wayland) ? wayland : nullptr,
                           AnswersAsX(display) ? display : nullptr, chosen)) {
        case PlatformChoice::kAsGiven:
            return true;
        case PlatformChoice::kX11:
            setenv("QT_QPA_PLATFORM", "xcb", 1);
            return true;
        case PlatformChoice::kWaylandOnly:
            // Qt would otherwise try X11 first when the session type is not announced.
            if (!IsSet(chosen)) setenv("QT_QPA_PLATFORM", "wayland", 1);
            std::fputs(kCannotKeepAbove, stderr);
            return true;
        case PlatformChoice::kNoDisplay:
            std::fputs(kNoDisplay, stderr);
            return false;
    }
    return false;
}
