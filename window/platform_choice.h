#pragma once

// Which Qt platform the window runs on. A Wayland client cannot ask to stay above other
// windows, while the X11 platform's request is honoured, also through XWayland.

enum class PlatformChoice {
    kAsGiven,      // Qt's own choice or the user's: nothing to change
    kX11,          // a Wayland session with an X server at hand: run on X11
    kWaylandOnly,  // Wayland without an X server: native, and the window cannot stay above
    kNoDisplay,    // nothing to show the window on
};

// Decides from the environment's WAYLAND_DISPLAY, DISPLAY and QT_QPA_PLATFORM (null or empty
// when unset, and a display that does not answer counts as unset).
PlatformChoice ChoosePlatform(const char* waylandDisplay, const char* display,
                              const char* chosenPlatform);

// Tries the displays, applies the choice for this process's environment before the application
// starts, and says once on standard error when the window cannot be kept above. False, having
// said what is missing, when there is no display to run on.
bool ApplyPlatformChoice();
