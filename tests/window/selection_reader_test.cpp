// What a paste makes of the first bytes of a selection and its size, as the X reader gets them.
#include <QtTest>

#include "window/selection_reader.h"

namespace {

constexpr qsizetype kCap = 16;
constexpr qint64 kHuge = 50 << 20;

}  // namespace

class SelectionReaderTest : public QObject {
    Q_OBJECT

  private slots:
    void textFromBytes_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("latin1");
        QTest::addColumn<QString>("text");
        QTest::addColumn<qint64>("tooLong");
        const QByteArray full(kCap, '1');
        const struct {
            const char* name;
            QByteArray bytes;
            qint64 size;
            bool latin1;
            const char* text;  // UTF-8
            qint64 tooLong;
        } rows[] = {
            {"empty", "", 0, false, "", 0},
            {"short", "1+2", 3, false, "1+2", 0},
            {"first line", "1+2\nsecond", 10, false, "1+2", 0},
            {"CR ends the line", "1+2\r\n", 5, false, "1+2", 0},
            {"exactly the cap", full, kCap, false, full.constData(), 0},
            {"one over the cap", full, kCap + 1, false, "", kCap + 1},
            {"huge, line end within the cap", "1+2\n" + full.left(kCap - 4), kHuge, false, "1+2",
             0},
            {"huge, line end just past the cap", full + "\n", kHuge, false, "", kHuge},
            {"nothing read, size over the cap", "", kHuge, false, "", kHuge},
            {"an owner's final NUL", QByteArray("1+2\0", 4), 4, false, "1+2", 0},
            {"UTF-8", "年+1", 5, false, "年+1", 0},
            {"invalid UTF-8", "1+\xff", 3, false, "1+\xef\xbf\xbd", 0},
            {"Latin-1", "6*\xe9", 3, true, "6*é", 0},
        };
        for (const auto& row : rows) {
            QTest::newRow(row.name) << row.bytes << row.size << row.latin1
                                    << QString::fromUtf8(row.text) << row.tooLong;
        }
    }

    void textFromBytes() {
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, size);
        QFETCH(bool, latin1);
        QFETCH(QString, text);
        QFETCH(qint64, tooLong);
        const SelectionText got = TextFromBytes(bytes, size, kCap, latin1);
        QCOMPARE(got.text, text);
        QCOMPARE(got.tooLongBytes, tooLong);
    }
};

QTEST_APPLESS_MAIN(SelectionReaderTest)

#include "selection_reader_test.moc"
