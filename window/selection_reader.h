#pragma once

#include <QByteArrayView>
#include <QClipboard>
#include <QString>

// A selection's text as far as a paste can use it.
struct SelectionText {
    QString text;  // up to its first line end
    // Not 0 when the first line alone is longer than was worth reading: the selection holds at
    // least this many bytes, and text is empty.
    qint64 tooLongBytes = 0;
};

// The clipboard's or the primary selection's text, reading at most byteCap bytes of it from
// another program, so that pasting a huge text costs no more than pasting a short one; what the
// owner still sends is let through unread in the background. An owner that does not answer
// within half a second gives no text.
SelectionText ReadSelectionText(QClipboard::Mode mode, qsizetype byteCap);

// What the first bytes of a selection give a paste, when the whole selection has size bytes (at
// least that many, where only a lower bound is known): its first line when a line end comes
// within byteCap bytes or the selection is no longer, and otherwise the refusal. Latin-1 for the
// STRING form, UTF-8 otherwise.
SelectionText TextFromBytes(QByteArrayView bytes, qint64 size, qsizetype byteCap, bool latin1);
