// The fields' length limit, whatever way text comes in, and the history's bounds.
#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QToolTip>
#include <QtTest>

#include "window/expression_history.h"
#include "window/single_line_edit.h"

namespace {

// A field shown and focused, holding before with the cursor at its end.
struct ShownField {
    explicit ShownField(const QString& before) : field(nullptr) {
        field.setText(before);
        field.show();
        field.activateWindow();
        field.setFocus(Qt::OtherFocusReason);
        active = QTest::qWaitForWindowActive(&field);
    }
    SingleLineEdit field;
    bool active = false;
};

void Insert(SingleLineEdit& field, const QString& way, const QString& text) {
    if (way == "keys") {
        QApplication::clipboard()->setText(text);
        QTest::keySequence(&field, QKeySequence::Paste);
    } else if (way == "drop") {
        QMimeData data;
        data.setText(text);
        const QPoint at(field.width() - 2, field.height() / 2);
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&field, &enter);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&field, &drop);
    } else {
        field.InsertWithinLimit(text);
    }
}

}  // namespace

class SingleLineEditTest : public QObject {
    Q_OBJECT

  private slots:
    void longTextIsRefusedWholeAndSaysWhy_data() {
        QTest::addColumn<QString>("way");
        QTest::addColumn<int>("before");   // characters already in the field
        QTest::addColumn<int>("offered");  // characters offered
        QTest::addColumn<bool>("taken");
        const struct {
            const char* name;
            int before, offered;
            bool taken;
        } sizes[] = {
            {"fills the field", 10, kFieldTextLimit - 10, true},
            {"one too many", 10, kFieldTextLimit - 9, false},
            {"into a full field", kFieldTextLimit, 1, false},
            {"limit into an empty field", 0, kFieldTextLimit, true},
            {"a megabyte", 0, 1 << 20, false},
        };
        for (const char* way : {"keys", "drop", "member"}) {
            for (const auto& size : sizes) {
                QTest::addRow("%s %s", way, size.name)
                    << QString::fromLatin1(way) << size.before << size.offered << size.taken;
            }
        }
    }

    void longTextIsRefusedWholeAndSaysWhy() {
        QFETCH(QString, way);
        QFETCH(int, before);
        QFETCH(int, offered);
        QFETCH(bool, taken);
        QToolTip::hideText();
        ShownField shown(QString(before, u'1'));
        QVERIFY(shown.active);
        const QString text =
            QStringLiteral("+2").repeated(offered / 2) + QString(offered % 2, u'3');
        Insert(shown.field, way, text);
        QCOMPARE(shown.field.text().size(), taken ? before + offered : before);
        QCOMPARE(QToolTip::isVisible(), !taken);
        if (!taken) QCOMPARE(QToolTip::text(), RefusalNote(offered, kFieldTextLimit));
        if (way == "keys") QCOMPARE(QApplication::clipboard()->text(), text);
    }

    // A selection gives its room back: a full field takes a paste that replaces all of it.
    void replacedSelectionMakesRoom() {
        ShownField shown(QString(kFieldTextLimit, u'1'));
        QVERIFY(shown.active);
        shown.field.selectAll();
        QVERIFY(shown.field.InsertWithinLimit(QString(kFieldTextLimit, u'2')));
        QCOMPARE(shown.field.text(), QString(kFieldTextLimit, u'2'));
    }

    void typingStopsAtTheLimit() {
        ShownField shown(QString(kFieldTextLimit - 2, u'1'));
        QVERIFY(shown.active);
        QTest::keyClicks(&shown.field, QStringLiteral("2345"));
        QCOMPARE(shown.field.text(), QString(kFieldTextLimit - 2, u'1') + QStringLiteral("23"));
    }

    // The history keeps the newest entries within both bounds, and walks back through all of them.
    void historyStaysWithinItsBounds_data() {
        QTest::addColumn<int>("entries");
        QTest::addColumn<int>("length");
        QTest::addColumn<int>("kept");
        const int longest = kFieldTextLimit;
        QTest::newRow("short entries, by count") << 1500 << 8 << 1000;
        QTest::newRow("field-long entries, by size")
            << 300 << longest << int(ExpressionHistory::kMaxCharacters / longest);
        QTest::newRow("within both") << 50 << longest << 50;
    }

    void historyStaysWithinItsBounds() {
        QFETCH(int, entries);
        QFETCH(int, length);
        QFETCH(int, kept);
        ExpressionHistory history;
        for (int entry = 0; entry < entries; ++entry)
            history.Record(QString::number(entry).leftJustified(length, u' '));
        QString current;
        int walked = 0;
        while (const std::optional<QString> older = history.Older(current)) {
            current = *older;
            ++walked;
        }
        QCOMPARE(walked, kept);
        QCOMPARE(current.trimmed().toInt(), entries - kept);  // the oldest kept, none older
    }
};

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    SingleLineEditTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "single_line_edit_test.moc"
