#include "frontend/quorvel_app.h"

#include "frontend/quorvel_dlg.h"

CQuorvelApp::CQuorvelApp(int& argc, char** argv) : QApplication(argc, argv) {
    // Lets the desktop match the window to its menu entry and icon.
    setDesktopFileName(QStringLiteral("quorvel"));
}

bool CQuorvelApp::InitInstance() {
    CQuorvelDlg dialog;
    dialog.exec();
    return false;
}
