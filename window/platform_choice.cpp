#include "window/platform_choice.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool IsSet(const char* value) {
    return value != nullptr && value[0] != '\0';
}

constexpr char kCannotKeepAbove[] =
    "quorvel: this Wayland session has no X server, so the window cannot be kept above other "
    "windows; use \"Always on Top\" or \"Keep Above\" in the desktop's window menu\n";

}  // namespace

PlatformChoice ChoosePlatform(const char* waylandDisplay, const char* display,
                              const char* chosenPlatform) {
    if (IsSet(chosenPlatform)) {
        return std::strncmp(chosenPlatform, "wayland", 7) == 0 ? PlatformChoice::kWaylandOnly
                                                               : PlatformChoice::kAsGiven;
    }
    if (!IsSet(waylandDisplay)) return PlatformChoice::kAsGiven;
    return IsSet(display) ? PlatformChoice::kX11 : PlatformChoice::kWaylandOnly;
}

void ApplyPlatformChoice() {
    const char* chosen = std::getenv("QT_QPA_PLATFORM");
    switch (ChoosePlatform(std::getenv("WAYLAND_DISPLAY"), std::getenv("DISPLAY"), chosen)) {
        case PlatformChoice::kAsGiven:
            return;
        case PlatformChoice::kX11:
            setenv("QT_QPA_PLATFORM", "xcb", 1);
            return;
        case PlatformChoice::kWaylandOnly:
            // Qt would otherwise try X11 first when the session type is not announced.
            if (!IsSet(chosen)) setenv("QT_QPA_PLATFORM", "wayland", 1);
            std::fputs(kCannotKeepAbove, stderr);
            return;
    }
}
