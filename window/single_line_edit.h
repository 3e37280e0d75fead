#pragma once

#include <QClipboard>
#include <QLineEdit>
#include <QString>

// An edit field that behaves as a classic single-line edit control: pasted or dropped text
// keeps only its first line, a double-click takes the whole run of non-space characters, and
// the text has no length limit. Actions added to the field close its context menu.
class SingleLineEdit : public QLineEdit {
    Q_OBJECT

  public:
    explicit SingleLineEdit(QWidget* parent);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    void PasteFirstLine(QClipboard::Mode mode);
};

// The text up to its first CR or LF.
QString FirstLine(const QString& text);

// The run of characters around a cursor position that are all white space or all not, as a
// classic edit control takes a word: [first, second). A position between a word and white
// space belongs to the word.
std::pair<qsizetype, qsizetype> RunAround(const QString& text, qsizetype position);
