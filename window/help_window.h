#pragma once

#include <QDialog>

// The short help on the expression language, in Chinese: a window of its own, transient for the
// calculator so that it stays above it, closed by Esc or its button.
class HelpWindow : public QDialog {
    Q_OBJECT

  public:
    explicit HelpWindow(QWidget* calculator);
};

// The help's text as rich text, from the shared language tables.
QString HelpHtml();
