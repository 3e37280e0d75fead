#include "frontend/quorvel_dlg.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTextLayout>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "frontend/quorvel_app.h"

namespace {

// Stands in for the evaluation so that each calculation can be counted and its input seen.
struct RecordedRequests {
    int calls = 0;
    std::string expression, x, y, z;
};

RecordedRequests g_recorded;

DisplayText RecordingRequest(const char* expression, const char* x, const char* y, const char* z) {
    g_recorded = {g_recorded.calls + 1, expression, x, y, z};
    DisplayText shown{};
    std::snprintf(shown.text, sizeof shown.text, "call %d", g_recorded.calls);
    return shown;
}

// Fills the whole display buffer and leaves out the terminator.
DisplayText UnterminatedRequest(const char*, const char*, const char*, const char*) {
    DisplayText shown;
    std::memset(shown.text, '7', sizeof shown.text);
    return shown;
}

QLineEdit* FieldOf(const CQuorvelDlg& dialog, int id) {
    return qobject_cast<QLineEdit*>(dialog.Control(id));
}

// Statics have no identifier, so they are found by their kind and text.
QWidget* StaticOrControl(const CQuorvelDlg& dialog, const ControlTemplate& control) {
    if (control.id != IDC_STATIC) return dialog.Control(control.id);
    if (control.kind == ControlKind::kGroupBox) return dialog.findChild<QGroupBox*>();
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        if (label->text() == QString::fromUtf8(control.text)) return label;
    }
    return nullptr;
}

// Polls until the modal run shows a CQuorvelDlg and hands it to the action; after a few seconds
// it closes every window instead, so that a broken run cannot hang the test.
void WhenModalDialogShows(std::function<void(CQuorvelDlg&)> action, bool& seen) {
    auto* poll = new QTimer;
    auto waited = std::make_shared<QElapsedTimer>();
    waited->start();
    QObject::connect(poll, &QTimer::timeout, [poll, waited, action, &seen] {
        auto* dialog = qobject_cast<CQuorvelDlg*>(QApplication::activeModalWidget());
        if (dialog != nullptr && dialog->isVisible()) {
            seen = true;
            poll->deleteLater();
            action(*dialog);
        } else if (waited->elapsed() > 5000) {
            poll->deleteLater();
            for (QWidget* window : QApplication::topLevelWidgets())
                window->close();
        }
    });
    poll->start(10);
}

bool HasAllGlyphs(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    qsizetype glyphs = 0;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        for (quint32 index : run.glyphIndexes()) {
            if (index == 0) return false;
            ++glyphs;
        }
    }
    return glyphs == text.size();
}

// The bounding box of the pixels that differ from the background, or that are not transparent
// when no background is given.
QRect InkBounds(const QImage& image, const QColor& background = QColor()) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (background.isValid() ? pixel != background : pixel.alpha() > 0) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

// A shown, active dialog whose calculations are recorded.
struct ShownDialog {
    ShownDialog() : dialog(RecordingRequest) {
        dialog.show();
        active = QTest::qWaitForWindowActive(&dialog);
    }
    QString Result() const { return FieldOf(dialog, IDC_RESULT)->text(); }

    CQuorvelDlg dialog;
    bool active = false;
};

}  // namespace

class QuorvelDlgTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { g_recorded = RecordedRequests{}; }

    void startStateShowsInitialTexts_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("accessibleName");
        QTest::newRow("expression") << IDC_EXPRESSION << ""
                                    << "expression";
        QTest::newRow("result") << IDC_RESULT << ""
                                << "result";
        QTest::newRow("x") << IDC_X << "0.0"
                           << "X";
        QTest::newRow("y") << IDC_Y << "0.0"
                           << "Y";
        QTest::newRow("z") << IDC_Z << "0.0"
                           << "Z";
    }

    void startStateShowsInitialTexts() {
        QFETCH(int, id);
        QFETCH(QString, text);
        QFETCH(QString, accessibleName);
        CQuorvelDlg dialog(RecordingRequest);
        QLineEdit* field = FieldOf(dialog, id);
        QVERIFY(field != nullptr);
        QCOMPARE(field->text(), text);
        QCOMPARE(field->accessibleName(), accessibleName);
        QCOMPARE(field->isReadOnly(), id == IDC_RESULT);
        QCOMPARE(field->objectName(), kMainControls[IndexOfControl(id)].objectName);
    }

    void startStateFocusesANonDefaultButton() {
        ShownDialog shown;
        QVERIFY(shown.active);
        auto* button = qobject_cast<QPushButton*>(shown.dialog.Control(IDC_CALCULATE));
        QVERIFY(button != nullptr);
        QCOMPARE(QApplication::focusWidget(), button);
        QCOMPARE(button->text(), QStringLiteral("运算"));
        QVERIFY(!button->isDefault());
        QVERIFY(!button->autoDefault());
        QCOMPARE(g_recorded.calls, 0);
    }

    void windowIsFixedTopMostWithoutMaximize() {
        ShownDialog shown;
        const CQuorvelDlg& dialog = shown.dialog;
        const Qt::WindowFlags flags = dialog.windowFlags();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Quorvel解析"));
        QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(dialog.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
        QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
        // A plain window, not a dialog tied to a leader window: it gets its own task-bar entry.
        QCOMPARE(dialog.windowType(), Qt::Window);
        QCOMPARE(dialog.minimumSize(), dialog.size());
        QCOMPARE(dialog.maximumSize(), dialog.size());
    }

    void iconHasEverySize() {
        CQuorvelDlg dialog(RecordingRequest);
        const QIcon icon = dialog.windowIcon();
        for (int side : {16, 32, 48, 128}) {
            QVERIFY2(icon.availableSizes().contains(QSize(side, side)),
                     qPrintable(QString::number(side)));
            const QImage image = icon.pixmap(QSize(side, side)).toImage();
            QCOMPARE(image.size(), QSize(side, side));
            QVERIFY(InkBounds(image).isValid());
        }
    }

    void keysCalculateOnlyOnEnter_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("presses");  // all but the first arrive as auto-repeats
        QTest::addColumn<int>("calls");
        const struct {
            const char* name;
            int id;
        } controls[] = {{"button", IDC_CALCULATE},
                        {"expression", IDC_EXPRESSION},
                        {"result", IDC_RESULT},
                        {"x", IDC_X},
                        {"y", IDC_Y},
                        {"z", IDC_Z}};
        for (const auto& control : controls) {
            QTest::addRow("%s return", control.name)
                << control.id << int(Qt::Key_Return) << int(Qt::NoModifier) << 1 << 1;
            QTest::addRow("%s keypad enter", control.name)
                << control.id << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << 1 << 1;
            QTest::addRow("%s escape", control.name)
                << control.id << int(Qt::Key_Escape) << int(Qt::NoModifier) << 1 << 0;
        }
        QTest::newRow("held return")
            << IDC_EXPRESSION << int(Qt::Key_Return) << int(Qt::NoModifier) << 7 << 7;
        QTest::newRow("held keypad enter")
            << IDC_RESULT << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << 3 << 3;
        QTest::newRow("held escape")
            << IDC_X << int(Qt::Key_Escape) << int(Qt::NoModifier) << 4 << 0;
        QTest::newRow("shift return")
            << IDC_Y << int(Qt::Key_Return) << int(Qt::ShiftModifier) << 1 << 1;
        QTest::newRow("space on button")
            << IDC_CALCULATE << int(Qt::Key_Space) << int(Qt::NoModifier) << 1 << 1;
        QTest::newRow("space in expression")
            << IDC_EXPRESSION << int(Qt::Key_Space) << int(Qt::NoModifier) << 1 << 0;
    }

    void keysCalculateOnlyOnEnter() {
        QFETCH(int, id);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, presses);
        QFETCH(int, calls);
        ShownDialog shown;
        QVERIFY(shown.active);
        QSignalSpy finished(&shown.dialog, &QDialog::finished);
        QWidget* control = shown.dialog.Control(id);
        control->setFocus(Qt::TabFocusReason);
        QCOMPARE(QApplication::focusWidget(), control);

        const auto keyEvent = [&](QEvent::Type type, bool repeat) {
            QKeyEvent event(type, key, Qt::KeyboardModifiers(modifiers), QString(), repeat);
            QApplication::sendEvent(QApplication::focusWidget(), &event);
        };
        for (int press = 0; press < presses; ++press)
            keyEvent(QEvent::KeyPress, press > 0);
        keyEvent(QEvent::KeyRelease, false);

        QCOMPARE(g_recorded.calls, calls);
        QCOMPARE(shown.Result(), calls == 0 ? QString() : QStringLiteral("call %1").arg(calls));
        QVERIFY(shown.dialog.isVisible());
        QCOMPARE(finished.count(), 0);
        QCOMPARE(QApplication::focusWidget(), control);
    }

    void clickCalculatesOnce() {
        ShownDialog shown;
        QVERIFY(shown.active);
        QTest::mouseClick(shown.dialog.Control(IDC_CALCULATE), Qt::LeftButton);
        QCOMPARE(g_recorded.calls, 1);
        QCOMPARE(shown.Result(), QStringLiteral("call 1"));
        QVERIFY(shown.dialog.isVisible());
    }

    void calculationPassesFieldTextsAsUtf8_data() {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("x");
        QTest::addColumn<QString>("y");
        QTest::addColumn<QString>("z");
        QTest::newRow("plain") << "x*2+sin(PI)"
                               << "1.5"
                               << "0.0"
                               << "0.0";
        QTest::newRow("all fields differ") << "x+y+z"
                                           << "1"
                                           << "2"
                                           << "3";
        QTest::newRow("empty") << ""
                               << ""
                               << ""
                               << "";
        QTest::newRow("chinese and greek") << "运算+π"
                                           << "１"
                                           << " 7"
                                           << "2.5kg";
    }

    void calculationPassesFieldTextsAsUtf8() {
        QFETCH(QString, expression);
        QFETCH(QString, x);
        QFETCH(QString, y);
        QFETCH(QString, z);
        CQuorvelDlg dialog(RecordingRequest);
        FieldOf(dialog, IDC_EXPRESSION)->setText(expression);
        FieldOf(dialog, IDC_X)->setText(x);
        FieldOf(dialog, IDC_Y)->setText(y);
        FieldOf(dialog, IDC_Z)->setText(z);
        dialog.OnCalculate();
        QCOMPARE(g_recorded.calls, 1);
        QCOMPARE(g_recorded.expression, expression.toStdString());
        QCOMPARE(g_recorded.x, x.toStdString());
        QCOMPARE(g_recorded.y, y.toStdString());
        QCOMPARE(g_recorded.z, z.toStdString());
    }

    void resultStopsAtTheEndOfTheDisplayBuffer() {
        CQuorvelDlg dialog(UnterminatedRequest);
        dialog.OnCalculate();
        QCOMPARE(FieldOf(dialog, IDC_RESULT)->text(), QString(kDisplayCapacity, u'7'));
    }

    void resultShowsTheEvaluation_data() {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("x");
        QTest::addColumn<QString>("shown");
        const QString error = QString::fromUtf8(kErrorText);
        QTest::newRow("sum") << "1+2"
                             << "0.0"
                             << "3.000000";
        QTest::newRow("x and a function") << "x*2+sin(PI)"
                                          << "1.5"
                                          << "3.000000";
        QTest::newRow("comma is no separator") << "x"
                                               << "1,5"
                                               << "1.000000";
        QTest::newRow("empty expression") << ""
                                          << "0.0" << error;
        QTest::newRow("unknown name") << "x*foo"
                                      << "0.0" << error;
        QTest::newRow("chinese expression") << "运算"
                                            << "0.0" << error;
    }

    void resultShowsTheEvaluation() {
        QFETCH(QString, expression);
        QFETCH(QString, x);
        QFETCH(QString, shown);
        CQuorvelDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QLineEdit* field = FieldOf(dialog, IDC_EXPRESSION);
        field->setFocus(Qt::TabFocusReason);
        field->setText(expression);
        FieldOf(dialog, IDC_X)->setText(x);
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(FieldOf(dialog, IDC_RESULT)->text(), shown);
        QCOMPARE(field->text(), expression);
    }

    void tabVisitsControlsInTemplateOrder_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QStringList>("visited");
        QTest::newRow("tab") << int(Qt::Key_Tab)
                             << QStringList{"IDC_EXPRESSION", "IDC_RESULT", "IDC_X",
                                            "IDC_Y",          "IDC_Z",      "IDC_CALCULATE"};
        QTest::newRow("shift tab")
            << int(Qt::Key_Backtab) << QStringList{"IDC_Z",      "IDC_Y",          "IDC_X",
                                                   "IDC_RESULT", "IDC_EXPRESSION", "IDC_CALCULATE"};
    }

    void tabVisitsControlsInTemplateOrder() {
        QFETCH(int, key);
        QFETCH(QStringList, visited);
        ShownDialog shown;
        QVERIFY(shown.active);
        QStringList seen;
        for (qsizetype step = 0; step < visited.size(); ++step) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
            seen.append(QApplication::focusWidget()->objectName());
        }
        QCOMPARE(seen, visited);
        QCOMPARE(g_recorded.calls, 0);
    }

    void resultFieldRefusesTypingButCopies() {
        ShownDialog shown;
        QVERIFY(shown.active);
        shown.dialog.OnCalculate();
        QLineEdit* result = FieldOf(shown.dialog, IDC_RESULT);
        result->setFocus(Qt::TabFocusReason);
        QVERIFY(result->hasFocus());

        QApplication::clipboard()->setText(QStringLiteral("pasted"));
        QTest::keyClicks(result, "12ab");
        QTest::keyClick(result, Qt::Key_Backspace);
        QTest::keyClick(result, Qt::Key_Delete);
        QTest::keyClick(result, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(result->text(), QStringLiteral("call 1"));

        QTest::keyClick(result, Qt::Key_A, Qt::ControlModifier);
        QCOMPARE(result->selectedText(), QStringLiteral("call 1"));
        QTest::keyClick(result, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("call 1"));
    }

    void controlsSitAtTheirDialogUnits_data() {
        QTest::addColumn<int>("index");
        for (std::size_t index = 0; index < kMainControlCount; ++index) {
            const ControlTemplate& control = kMainControls[index];
            const char* name = control.id != IDC_STATIC                 ? control.objectName
                               : control.kind == ControlKind::kGroupBox ? "group box"
                                                                        : control.text;
            QTest::addRow("%zu %s", index + 1, name) << int(index);
        }
    }

    void controlsSitAtTheirDialogUnits() {
        QFETCH(int, index);
        CQuorvelDlg dialog(RecordingRequest);
        QCOMPARE(dialog.font().pointSize(), 9);
        const QFontMetrics metrics(dialog.font());
        const int letters =
            metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
        const double unitX = ((letters / 26 + 1) / 2) / 4.0;
        const double unitY = metrics.height() / 8.0;
        const auto toX = [unitX](int units) { return int(std::lround(units * unitX)); };
        const auto toY = [unitY](int units) { return int(std::lround(units * unitY)); };

        QCOMPARE(dialog.size(), QSize(toX(539), toY(53)));
        const ControlTemplate& control = kMainControls[index];
        QWidget* widget = StaticOrControl(dialog, control);
        QVERIFY(widget != nullptr);
        const DialogUnitRect& rect = control.rect;
        QCOMPARE(widget->geometry(),
                 QRect(toX(rect.x), toY(rect.y), toX(rect.width), toY(rect.height)));
    }

    void chineseTextsHaveGlyphs_data() {
        QTest::addColumn<QString>("text");
        QTest::newRow("button") << "运算";
        QTest::newRow("result label") << "运算结果:";
        QTest::newRow("caption") << "Quorvel解析";
        QTest::newRow("error text") << QString::fromUtf8(kErrorText);
    }

    void chineseTextsHaveGlyphs() {
        QFETCH(QString, text);
        CQuorvelDlg dialog(RecordingRequest);
        QVERIFY2(HasAllGlyphs(text, dialog.font()), qPrintable(dialog.font().toString()));
    }

    void minimisedWindowPaintsCentredIcon() {
        CQuorvelDlg dialog(RecordingRequest);
        dialog.setWindowState(Qt::WindowMinimized);
        QVERIFY(dialog.isMinimized());
        QImage painted(dialog.size(), QImage::Format_ARGB32);
        painted.fill(Qt::magenta);
        dialog.render(&painted, QPoint(), QRegion(), QWidget::DrawWindowBackground);

        const int side = dialog.style()->pixelMetric(QStyle::PM_LargeIconSize, nullptr, &dialog);
        const QImage icon = dialog.windowIcon().pixmap(QSize(side, side)).toImage();
        const QPoint origin((dialog.width() - side + 1) / 2, (dialog.height() - side + 1) / 2);
        const QColor background = dialog.palette().window().color();
        QCOMPARE(painted.pixelColor(0, 0), background);
        QCOMPARE(painted.pixelColor(dialog.width() - 1, dialog.height() - 1), background);
        QCOMPARE(InkBounds(painted, background), InkBounds(icon).translated(origin));
    }

    void closingTheWindowEndsTheModalRun() {
        CQuorvelDlg dialog(RecordingRequest);
        bool seen = false;
        bool stayedOpen = false;
        int callsBeforeClose = -1;
        WhenModalDialogShows(
            [&](CQuorvelDlg& shown) {
                QWidget* field = shown.Control(IDC_X);
                QTest::keyClick(field, Qt::Key_Escape);
                QTest::keyClick(field, Qt::Key_Return);
                stayedOpen = shown.isVisible();
                callsBeforeClose = g_recorded.calls;
                shown.windowHandle()->close();
            },
            seen);
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QVERIFY(seen);
        QVERIFY(stayedOpen);
        QCOMPARE(callsBeforeClose, 1);
        QVERIFY(!dialog.isVisible());
    }

    void instanceInitialisationRunsTheDialogAndReturnsFalse() {
        auto* app = qobject_cast<CQuorvelApp*>(QCoreApplication::instance());
        QVERIFY(app != nullptr);
        bool seen = false;
        QString caption;
        WhenModalDialogShows(
            [&](CQuorvelDlg& shown) {
                caption = shown.windowTitle();
                shown.windowHandle()->close();
            },
            seen);
        QVERIFY(!app->InitInstance());
        QVERIFY(seen);
        QCOMPARE(caption, QStringLiteral("Quorvel解析"));
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

    // Leaves a picture of the window beside the test for a person to look at.
    void rendersToPng() {
        CQuorvelDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QLineEdit* field = FieldOf(dialog, IDC_EXPRESSION);
        field->setText(QStringLiteral("x*2+sin(PI)"));
        FieldOf(dialog, IDC_X)->setText(QStringLiteral("1.5"));
        QTest::keyClick(field, Qt::Key_Return);
        const QImage image = dialog.grab().toImage();
        QCOMPARE(image.size(), dialog.size() * dialog.devicePixelRatio());
        QVERIFY(image.save(QStringLiteral(QUORVEL_DIALOG_PNG)));
    }
};

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    CQuorvelApp app(argc, argv);
    QuorvelDlgTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "quorvel_dlg_test.moc"
