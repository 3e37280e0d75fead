// Drives an expression field and the history as a user could, offscreen: insertions, pastes
// and drops of texts up to far past the field's limit, keys, selections and history walks,
// each chosen by the input. After every step the field holds at most its limit and no line
// break; a refused text leaves the field as it was, an accepted one is in it whole; the history
// gives back only what was recorded, and a double-click's run stays within the text.

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QtTest>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "window/expression_history.h"
#include "window/single_line_edit.h"

namespace {

struct Input {
    const std::uint8_t* data;
    std::size_t size;
    std::uint8_t Byte() {
        if (size == 0) return 0;
        --size;
        return *data++;
    }
    // Up to count bytes as UTF-8, repeated to length characters or so: long texts from short input.
    QString Text() {
        const std::size_t count = std::min<std::size_t>(1 + Byte() % 16, size);
        const QString piece = QString::fromUtf8(reinterpret_cast<const char*>(data), count);
        data += count;
        size -= count;
        const int repeats = Byte() < 200 ? 1 : 1 + Byte() * 24;
        return piece.repeated(repeats);
    }
};

void Require(bool holds, const char* property) {
    if (holds) return;
    std::fprintf(stderr, "property violated: %s\n", property);
    std::abort();
}

SingleLineEdit& Field() {
    static int argc = 1;
    static char name[] = "quorvel-fuzz-field";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QApplication(argc, argv);
    }();
    static SingleLineEdit* field = [] {
        auto* edit = new SingleLineEdit(nullptr);
        edit->show();
        return edit;
    }();
    (void)app;
    return *field;
}

void Drop(SingleLineEdit& field, const QString& text, int x) {
    QMimeData data;
    data.setText(text);
    const QPoint at(x % (field.width() + 1), field.height() / 2);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&field, &enter);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&field, &drop);
}

bool HasLineBreak(const QString& text) {
    return text.contains(u'\n') || text.contains(u'\r');
}

constexpr Qt::Key kKeys[] = {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Home, Qt::Key_End,
                             Qt::Key_Left,      Qt::Key_Right,  Qt::Key_A,    Qt::Key_1};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    SingleLineEdit& field = Field();
    field.clear();
    ExpressionHistory history;
    std::set<QString> recorded, walkedFrom;
    Input input{data, size};
    while (input.size > 0) {
        const QString before = field.text();
        switch (input.Byte() % 9) {
            case 0: {
                const QString text = input.Text();
                const bool fits =
                    before.size() - field.selectedText().size() + FirstLine(text).size() <=
                    kFieldTextLimit;
                Require(field.InsertWithinLimit(text) == fits,
                        "insertion taken exactly when it fits");
                if (!fits) Require(field.text() == before, "a refused text leaves the field alone");
                break;
            }
            case 1:
                QApplication::clipboard()->setText(input.Text());
                QTest::keySequence(&field, QKeySequence::Paste);
                break;
            case 2:
                Drop(field, input.Text(), input.Byte());
                break;
            case 3:
                QTest::keyClick(&field, kKeys[input.Byte() % std::size(kKeys)],
                                input.Byte() % 2 ? Qt::ShiftModifier : Qt::NoModifier);
                break;
            case 4:
                field.setSelection(input.Byte() * 17 % (before.size() + 1), input.Byte() * 17);
                break;
            case 5:
                history.Record(before);
                recorded.insert(before);
                break;
            case 6:
            case 7: {
                const bool older = input.Byte() % 2;
                if (older) walkedFrom.insert(before);
                const auto walked = older ? history.Older(before) : history.Newer();
                // Down past the newest gives back what the field held when the walk began.
                if (walked)
                    Require(recorded.count(*walked) || walkedFrom.count(*walked),
                            "the history gives back only what it was given");
                if (walked) field.setText(*walked);
                break;
            }
            case 8: {
                const qsizetype position = input.Byte() * 23 % (before.size() + 1);
                const auto [first, end] = RunAround(before, position);
                Require(0 <= first && first <= end && end <= before.size(), "run within the text");
                Require(before.isEmpty() || (first <= position && position <= end),
                        "run around the position");
                break;
            }
        }
        Require(field.text().size() <= kFieldTextLimit, "the field holds at most its limit");
        Require(!HasLineBreak(field.text()), "no line break gets into the field");
    }
    return 0;
}
