#include "window/quorvel_app.h"

#include <QLibraryInfo>

#include "window/quorvel_dlg.h"

CQuorvelApp::CQuorvelApp(int& argc, char** argv) : QApplication(argc, argv) {
    // Lets the desktop match the window to its menu entry and icon.
    setDesktopFileName(QStringLiteral("quorvel"));
    // Qt's own texts (the fields' context menus) in the interface's language, whatever the
    // desktop's; without the translations installed they stay in English.
    if (qtTexts_.load(QStringLiteral("qtbase_zh_CN"),
                      QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        installTranslator(&qtTexts_);
    }
}

bool CQuorvelApp::InitInstance() {
    CQuorvelDlg dialog;
    dialog.exec();
    return false;
}
