#include "window/single_line_edit.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <algorithm>
#include <limits>

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

}  // namespace

SingleLineEdit::SingleLineEdit(QWidget* parent) : QLineEdit(parent) {
    // Qt's default cuts a field at 32,767 characters; a value text must convert as typed.
    setMaxLength(std::numeric_limits<int>::max());
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
    QDropEvent trimmed(event->position(), event->possibleActions(), &firstLine, event->buttons(),
                       event->modifiers());
    trimmed.setDropAction(event->dropAction());
    QLineEdit::dropEvent(&trimmed);
    event->setDropAction(trimmed.dropAction());
    event->setAccepted(trimmed.isAccepted());
}

void SingleLineEdit::PasteFirstLine(QClipboard::Mode mode) {
    const QString line = FirstLine(QApplication::clipboard()->text(mode));
    if (!line.isEmpty() || hasSelectedText()) insert(line);
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
