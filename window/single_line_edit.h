#pragma once

#include <QClipboard>
#include <QLineEdit>
#include <QString>

// The most characters a field holds. Far above the longest expression (1,023 bytes) and any
// value worth typing, and low enough that typing, selecting, repainting and idling stay as
// quick with the worst text (mixed scripts, random bytes) as with a short one.
inline constexpr int kFieldTextLimit = 4096;

// An edit field that behaves as a classic single-line edit control: pasted or dropped text
// keeps only its first line, and a double-click takes the whole run of non-space characters.
// The text stops at kFieldTextLimit: typing stops there, and a paste or drop that would go past
// it is refused whole, with a note saying why. Actions added to the field close its context
// menu.
class SingleLineEdit : public QLineEdit {
    Q_OBJECT

  public:
    explicit SingleLineEdit(QWidget* parent);

    // Puts the first line of text in place of the selection, at the cursor, as a paste does.
    // Refuses it whole, with a note beside the field, when the field would grow past its limit;
    // returns whether it went in.
    bool InsertWithinLimit(const QString& text);
    // The same, but an empty first line goes in only where it replaces a selection.
    void InsertFirstLine(const QString& text);
    // Inserts the first line of the clipboard or the primary selection so, reading no more of it
    // than could fit.
    void PasteFirstLine(QClipboard::Mode mode);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    bool FitsInField(qsizetype added, qsizetype replaced) const;
    void ShowRefusal(const QString& note) const;
};

// The note shown when a text of that many characters would not fit a field of that limit.
QString RefusalNote(qsizetype offered, int limit);
// The same for a pasted text known only to have at least that many bytes.
QString RefusalNoteInBytes(qint64 offered, int limit);

// The text up to its first CR or LF.
QString FirstLine(const QString& text);

// The run of characters around a cursor position that are all white space or all not, as a
// classic edit control takes a word: [first, second). A position between a word and white
// space belongs to the word.
std::pair<qsizetype, qsizetype> RunAround(const QString& text, qsizetype position);
