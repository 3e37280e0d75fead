#include "frontend/quorvel_app.h"

int main(int argc, char** argv) {
    CQuorvelApp app(argc, argv);
    // An initialisation that returns false means the work is done: no event loop follows.
    return app.InitInstance() ? CQuorvelApp::exec() : 0;
}
