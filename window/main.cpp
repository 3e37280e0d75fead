#include "window/platform_choice.h"
#include "window/quorvel_app.h"

int main(int argc, char** argv) {
    if (!ApplyPlatformChoice()) return 1;
    CQuorvelApp app(argc, argv);
    // The initialisation runs the window until it is closed and returns false: no event loop
    // follows, and the process ends.
    app.InitInstance();
    return 0;
}
