#include "window/single_line_edit.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QToolTip>
#include <algorithm>

#include "window/selection_reader.h"

namespace {

// The standard menu's paste entry, known by its text (in whichever language is loaded) before
// the shortcut.
QAction* PasteAction(const QMenu& menu) {
    const QString paste = QLineEdit::tr("&Paste");
    for (QAction* action : menu.actions()) {
        if (action->text().section(u'\t', 0, 0) == paste) return action;
    }
    return nullptr;
}

// "文字太长，未插入：1048576 个字符，本栏最多 4096 个字符。", the offered size as given.
QString Refusal(const QString& offered, int limit) {
    return QString::fromUtf8("文字太长，未插入：%1，本栏最多 %2 个字符。").arg(offered).arg(limit);
}

}  // namespace

SingleLineEdit::SingleLineEdit(QWidget* parent) : QLineEdit(parent) {
    setMaxLength(kFieldTextLimit);
}

bool SingleLineEdit::InsertWithinLimit(const QString& text) {
    const QString line = FirstLine(text);
    if (!FitsInField(line.size(), selectedText().size())) {
        ShowRefusal(RefusalNote(line.size(), maxLength()));
        return false;
    }
    insert(line);
    return true;
}

bool SingleLineEdit::FitsInField(qsizetype added, qsizetype replaced) const {
    return this->text().size() - replaced + added <= maxLength();
}

void SingleLineEdit::ShowRefusal(const QString& note) const {
    QToolTip::showText(mapToGlobal(QPoint(0, height())), note, const_cast<SingleLineEdit*>(this),
                       QRect(), 8000);
}

void SingleLineEdit::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste) && !isReadOnly()) {
        PasteFirstLine(QClipboard::Clipboard);
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void SingleLineEdit::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::MiddleButton && !isReadOnly() &&
        QApplication::clipboard()->supportsSelection()) {
        deselect();
        PasteFirstLine(QClipboard::Selection);
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

void SingleLineEdit::mouseDoubleClickEvent(QMouseEvent* event) {
    // The base class arms the triple click that selects the whole text.
    QLineEdit::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton) return;
    const auto [first, end] = RunAround(text(), cursorPositionAt(event->position().toPoint()));
    setSelection(static_cast<int>(first), static_cast<int>(end - first));
}

void SingleLineEdit::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();
    if (QAction* paste = PasteAction(*menu)) {
        paste->disconnect(this);
        connect(paste, &QAction::triggered, this,
                [this] { PasteFirstLine(QClipboard::Clipboard); });
    }
    if (!actions().isEmpty()) {
        menu->addSeparator();
        menu->addActions(actions());
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void SingleLineEdit::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasText()) {
        QLineEdit::dropEvent(event);
        return;
    }
    QMimeData firstLine;
    firstLine.setText(FirstLine(event->mimeData()->text()));
    // A move within the field takes the text from where it was, so the field cannot grow.
    const bool moveWithin = event->source() == this && event->dropAction() == Qt::MoveAction;
    if (!moveWithin && !FitsInField(firstLine.text().size(), 0)) {
        ShowRefusal(RefusalNote(firstLine.text().size(), maxLength()));
        event->ignore();
        return;
    }
    QDropEvent trimmed(event->position(), event->possibleActions(), &firstLine, event->buttons(),
                       event->modifiers());
    trimmed.setDropAction(event->dropAction());
    QLineEdit::dropEvent(&trimmed);
    event->setDropAction(trimmed.dropAction());
    event->setAccepted(trimmed.isAccepted());
}

void SingleLineEdit::PasteFirstLine(QClipboard::Mode mode) {
    // UTF-8 takes at most four bytes a character, and a line end after them ends the first line.
    const qsizetype worthReading = 4 * qsizetype{maxLength()} + 2;
    const SelectionText offered = ReadSelectionText(mode, worthReading);
    if (offered.tooLongBytes != 0)
        ShowRefusal(RefusalNoteInBytes(offered.tooLongBytes, maxLength()));
    else
        InsertFirstLine(offered.text);
}

void SingleLineEdit::InsertFirstLine(const QString& text) {
    const QString line = FirstLine(text);
    if (!line.isEmpty() || hasSelectedText()) InsertWithinLimit(line);
}

QString RefusalNote(qsizetype offered, int limit) {
    return Refusal(QString::fromUtf8("%1 个字符").arg(offered), limit);
}

QString RefusalNoteInBytes(qint64 offered, int limit) {
    return Refusal(QString::fromUtf8("至少 %1 字节").arg(offered), limit);
}

QString FirstLine(const QString& text) {
    for (qsizetype index = 0; index < text.size(); ++index) {
        if (text[index] == u'\r' || text[index] == u'\n') return text.left(index);
    }
    return text;
}

std::pair<qsizetype, qsizetype> RunAround(const QString& text, qsizetype position) {
    if (text.isEmpty()) return {0, 0};
    qsizetype anchor = std::clamp<qsizetype>(position, 0, text.size());
    const bool wordOnTheLeft = anchor > 0 && !text[anchor - 1].isSpace();
    if (anchor >= text.size() || (wordOnTheLeft && text[anchor].isSpace())) --anchor;
    const bool space = text[anchor].isSpace();
    qsizetype first = anchor;
    while (first > 0 && text[first - 1].isSpace() == space)
        --first;
    qsizetype end = anchor + 1;
    while (end < text.size() && text[end].isSpace() == space)
        ++end;
    return {first, end};
}
