#pragma once

#include <QApplication>
#include <QTranslator>

// The application: its instance initialisation runs the calculator window modally and returns
// false once the window is closed, so that no event loop of its own follows.
class CQuorvelApp : public QApplication {
    Q_OBJECT

  public:
    CQuorvelApp(int& argc, char** argv);

    bool InitInstance();

  private:
    QTranslator qtTexts_;
};
