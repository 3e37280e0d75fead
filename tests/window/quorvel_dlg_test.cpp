#include "window/quorvel_dlg.h"

#include <QtGui/private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QStyle>
#include <QStyleFactory>
#include <QTextLayout>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>

#include "window/platform_choice.h"
#include "window/quorvel_app.h"

namespace {

// Stands in for the evaluation so that each calculation can be counted and its input seen.
struct RecordedRequests {
    int calls = 0;
    std::string expression, x, y, z;
};

RecordedRequests g_recorded;

EvaluationAnswer RecordingRequest(const char* expression, const char* x, const char* y,
                                  const char* z) {
    g_recorded = {g_recorded.calls + 1, expression, x, y, z};
    EvaluationAnswer answer{};
    std::snprintf(answer.display.text, sizeof answer.display.text, "call %d", g_recorded.calls);
    answer.evaluated = true;
    answer.value = static_cast<float>(g_recorded.calls);
    return answer;
}

// Fills the whole display buffer and leaves out the terminator.
EvaluationAnswer UnterminatedRequest(const char*, const char*, const char*, const char*) {
    EvaluationAnswer answer{};
    std::memset(answer.display.text, '7', sizeof answer.display.text);
    return answer;
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

// The x coordinate inside a field where a click puts the cursor at this position.
int XOfCursorPosition(QLineEdit* field, int position) {
    for (int x = 0; x < field->width(); ++x) {
        if (field->cursorPositionAt(QPoint(x, field->height() / 2)) == position) return x;
    }
    return -1;
}

// Sends a key to whichever widget has the focus, as the window system does.
void TypeKey(Qt::Key key, QChar text = QChar(), Qt::KeyboardModifiers modifiers = {}) {
    QWidget* focus = QApplication::focusWidget();
    const QString typed = text.isNull() ? QString() : QString(text);
    QKeyEvent press(QEvent::KeyPress, key, modifiers, typed);
    QApplication::sendEvent(focus, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, typed);
    QApplication::sendEvent(QApplication::focusWidget(), &release);
}

void TypeText(const QString& text) {
    for (QChar c : text)
        TypeKey(Qt::Key(c.toUpper().unicode()), c);
}

// Applies a style to the whole application for as long as it lives.
struct StyleScope {
    explicit StyleScope(const QString& name) : previous(QApplication::style()->name()) {
        QApplication::setStyle(QStyleFactory::create(name));
        applied = QApplication::style()->name().compare(name, Qt::CaseInsensitive) == 0;
    }
    ~StyleScope() { QApplication::setStyle(QStyleFactory::create(previous)); }
    QString previous;
    bool applied = false;
};

void AddStyleRows() {
    QTest::addColumn<QString>("styleName");
    for (const char* name : {"Fusion", "Windows", "Adwaita", "Adwaita-Dark"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

// The texts that assistive technology is told a field now holds, by the field they concern.
QList<QPair<QObject*, QString>> g_textNotices;

void RecordTextNotice(QAccessibleEvent* event) {
    if (event->type() == QAccessible::TextUpdated) {
        g_textNotices.append(
            {event->object(), static_cast<QAccessibleTextUpdateEvent*>(event)->textInserted()});
    } else if (event->type() == QAccessible::TextInserted) {
        g_textNotices.append(
            {event->object(), static_cast<QAccessibleTextInsertEvent*>(event)->textInserted()});
    }
}

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
                                    << "表达式";
        QTest::newRow("result") << IDC_RESULT << ""
                                << "运算结果";
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

        // Heights grow where the style needs it (stylesLeaveNoClipping); nothing else moves.
        QCOMPARE(dialog.width(), toX(539));
        QVERIFY(dialog.height() >= toY(53));
        const ControlTemplate& control = kMainControls[index];
        QWidget* widget = StaticOrControl(dialog, control);
        QVERIFY(widget != nullptr);
        const DialogUnitRect& rect = control.rect;
        QCOMPARE(widget->x(), toX(rect.x));
        QCOMPARE(widget->width(), toX(rect.width));
        QVERIFY(widget->y() >= toY(rect.y));
        QVERIFY(widget->height() >= toY(rect.height));
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

    void platformChoiceFollowsTheSession_data() {
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QByteArray>("chosen");
        QTest::addColumn<int>("choice");
        const int asGiven = int(PlatformChoice::kAsGiven);
        const int x11 = int(PlatformChoice::kX11);
        const int waylandOnly = int(PlatformChoice::kWaylandOnly);
        QTest::newRow("x11 session") << QByteArray() << QByteArray(":0") << QByteArray() << asGiven;
        QTest::newRow("wayland with xwayland")
            << QByteArray("wayland-0") << QByteArray(":0") << QByteArray() << x11;
        QTest::newRow("wayland without x server")
            << QByteArray("wayland-0") << QByteArray() << QByteArray() << waylandOnly;
        QTest::newRow("empty display is none")
            << QByteArray("wayland-0") << QByteArray("") << QByteArray("") << waylandOnly;
        QTest::newRow("empty wayland display is none")
            << QByteArray("") << QByteArray(":0") << QByteArray() << asGiven;
        QTest::newRow("user chose x11")
            << QByteArray("wayland-0") << QByteArray(":0") << QByteArray("xcb") << asGiven;
        QTest::newRow("user chose offscreen")
            << QByteArray("wayland-0") << QByteArray() << QByteArray("offscreen") << asGiven;
        QTest::newRow("user chose wayland")
            << QByteArray("wayland-0") << QByteArray(":0") << QByteArray("wayland") << waylandOnly;
        QTest::newRow("user chose wayland-egl") << QByteArray("wayland-0") << QByteArray(":0")
                                                << QByteArray("wayland-egl") << waylandOnly;
        const int none = int(PlatformChoice::kNoDisplay);
        QTest::newRow("no display at all") << QByteArray() << QByteArray() << QByteArray() << none;
        QTest::newRow("user chose x11 without x server")
            << QByteArray("wayland-0") << QByteArray() << QByteArray("xcb") << none;
        QTest::newRow("user chose wayland without wayland")
            << QByteArray() << QByteArray(":0") << QByteArray("wayland") << none;
    }

    void platformChoiceFollowsTheSession() {
        QFETCH(QByteArray, wayland);
        QFETCH(QByteArray, display);
        QFETCH(QByteArray, chosen);
        QFETCH(int, choice);
        const auto unsetIfNull = [](const QByteArray& value) {
            return value.isNull() ? nullptr : value.constData();
        };
        QCOMPARE(
            int(ChoosePlatform(unsetIfNull(wayland), unsetIfNull(display), unsetIfNull(chosen))),
            choice);
    }

    void typingAtStartGoesToTheExpression_data() {
        QTest::addColumn<QString>("before");  // the expression field's text
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");
        QTest::newRow("first expression") << ""
                                          << "1+2"
                                          << "1+2";
        QTest::newRow("appended at the end") << "x"
                                             << "*2"
                                             << "x*2";
        QTest::newRow("chinese") << ""
                                 << "运算"
                                 << "运算";
    }

    void typingAtStartGoesToTheExpression() {
        QFETCH(QString, before);
        QFETCH(QString, typed);
        QFETCH(QString, after);
        ShownDialog shown;
        QVERIFY(shown.active);
        QLineEdit* expression = FieldOf(shown.dialog, IDC_EXPRESSION);
        expression->setText(before);
        expression->setCursorPosition(0);
        TypeText(typed);
        QCOMPARE(expression->text(), after);
        QCOMPARE(QApplication::focusWidget(), expression);
        QCOMPARE(g_recorded.calls, 0);
        TypeKey(Qt::Key_Return);
        QCOMPARE(g_recorded.calls, 1);
        QCOMPARE(g_recorded.expression, after.toStdString());
    }

    void commandKeysOnTheButtonTypeNothing_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("calls");
        QTest::newRow("space presses it") << int(Qt::Key_Space) << 0 << " " << 1;
        QTest::newRow("ctrl+a") << int(Qt::Key_A) << int(Qt::ControlModifier) << "\x01" << 0;
        QTest::newRow("alt+x") << int(Qt::Key_X) << int(Qt::AltModifier) << "x" << 0;
        QTest::newRow("f2") << int(Qt::Key_F2) << 0 << "" << 0;
    }

    void commandKeysOnTheButtonTypeNothing() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(QString, text);
        QFETCH(int, calls);
        ShownDialog shown;
        QVERIFY(shown.active);
        QWidget* button = shown.dialog.Control(IDC_CALCULATE);
        TypeKey(Qt::Key(key), text.isEmpty() ? QChar() : text[0], Qt::KeyboardModifiers(modifiers));
        QCOMPARE(FieldOf(shown.dialog, IDC_EXPRESSION)->text(), QString());
        QCOMPARE(QApplication::focusWidget(), button);
        QCOMPARE(g_recorded.calls, calls);
    }

    void focusIsDrawnAtStart_data() { AddStyleRows(); }

    void focusIsDrawnAtStart() {
        QFETCH(QString, styleName);
        const StyleScope style(styleName);
        QVERIFY2(style.applied, qPrintable(styleName + " is not installed"));
        ShownDialog shown;
        QVERIFY(shown.active);
        QWidget* button = shown.dialog.Control(IDC_CALCULATE);
        QVERIFY(button->hasFocus());
        const QImage focused = button->grab().toImage();
        shown.dialog.Control(IDC_X)->setFocus(Qt::OtherFocusReason);
        const QImage unfocused = button->grab().toImage();
        QVERIFY(focused != unfocused);
    }

    void pastedTextKeepsItsFirstLine_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("way");
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<QString>("kept");
        const struct {
            const char* name;
            const char* pasted;
            const char* kept;
        } texts[] = {
            {"trailing newline", "1+2\n", "1+2"},
            {"trailing crlf", "x*2\r\n", "x*2"},
            {"lone cr", "a\rb", "a"},
            {"several lines", "first\nsecond\nthird", "first"},
            {"leading newline", "\nnext", ""},
            {"tab stays", "x\ty", "x\ty"},
            {"one line", "max(1, 2)", "max(1, 2)"},
        };
        const struct {
            const char* name;
            int id;
        } fields[] = {{"expression", IDC_EXPRESSION}, {"x", IDC_X}, {"z", IDC_Z}};
        for (const char* way : {"keys", "menu", "drop"}) {
            for (const auto& field : fields) {
                for (const auto& text : texts) {
                    QTest::addRow("%s %s %s", way, field.name, text.name)
                        << field.id << QString::fromLatin1(way) << QString::fromLatin1(text.pasted)
                        << QString::fromLatin1(text.kept);
                }
            }
        }
    }

    void pastedTextKeepsItsFirstLine() {
        QFETCH(int, id);
        QFETCH(QString, way);
        QFETCH(QString, pasted);
        QFETCH(QString, kept);
        ShownDialog shown;
        QVERIFY(shown.active);
        QLineEdit* field = FieldOf(shown.dialog, id);
        field->setFocus(Qt::TabFocusReason);
        field->setText(QStringLiteral("<>"));
        field->setCursorPosition(1);
        const QString expected = u'<' + kept + u'>';
        if (way == "drop") {
            QMimeData data;
            data.setText(pasted);
            const QPointF at(XOfCursorPosition(field, 1), field->height() / 2);
            QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &data, Qt::LeftButton,
                                  Qt::NoModifier);
            QApplication::sendEvent(field, &enter);
            QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(field, &drop);
            QVERIFY(enter.isAccepted());
            QVERIFY(drop.isAccepted());
            QCOMPARE(field->text(), expected);
            return;
        }
        QApplication::clipboard()->setText(pasted);
        if (way == "keys") {
            TypeKey(Qt::Key_V, QChar(), Qt::ControlModifier);
        } else {
            QContextMenuEvent request(QContextMenuEvent::Keyboard, QPoint(2, 2),
                                      field->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(field, &request);
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu != nullptr);
            QAction* paste = nullptr;
            for (QAction* action : menu->actions()) {
                if (action->text().startsWith(QStringLiteral("粘贴"))) paste = action;
            }
            QVERIFY(paste != nullptr);
            paste->trigger();
            menu->close();
        }
        QCOMPARE(field->text(), expected);
    }

    void doubleClickTakesTheWholeValue_data() {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("selected");
        QTest::newRow("negative fraction") << IDC_RESULT << "-3.333333" << 5 << "-3.333333";
        QTest::newRow("result start") << IDC_RESULT << "-3.333333" << 0 << "-3.333333";
        QTest::newRow("scientific") << IDC_EXPRESSION << "1.5e3 + 2" << 2 << "1.5e3";
        QTest::newRow("word before a space") << IDC_EXPRESSION << "1.5e3 + 2" << 5 << "1.5e3";
        QTest::newRow("call") << IDC_EXPRESSION << "max(x,y) * 2" << 4 << "max(x,y)";
        QTest::newRow("last word") << IDC_EXPRESSION << "2 * -3.5" << 8 << "-3.5";
        QTest::newRow("between spaces") << IDC_EXPRESSION << "a   b" << 2 << "   ";
        QTest::newRow("value field") << IDC_X << "1.5e-3" << 3 << "1.5e-3";
    }

    void doubleClickTakesTheWholeValue() {
        QFETCH(int, id);
        QFETCH(QString, text);
        QFETCH(int, position);
        QFETCH(QString, selected);
        ShownDialog shown;
        QVERIFY(shown.active);
        QLineEdit* field = FieldOf(shown.dialog, id);
        field->setText(text);
        field->setCursorPosition(0);
        const int x = XOfCursorPosition(field, position);
        QVERIFY(x >= 0);
        QTest::mouseDClick(field, Qt::LeftButton, {}, QPoint(x, field->height() / 2));
        QCOMPARE(field->selectedText(), selected);
    }

    void stylesLeaveNoClipping_data() { AddStyleRows(); }

    void stylesLeaveNoClipping() {
        QFETCH(QString, styleName);
        const StyleScope style(styleName);
        QVERIFY2(style.applied, qPrintable(styleName + " is not installed"));
        CQuorvelDlg dialog(RecordingRequest);
        const QWidget* box = dialog.findChild<QGroupBox*>();
        QVERIFY(dialog.rect().contains(box->geometry()));
        QList<QWidget*> inRows;
        for (const ControlTemplate& control : kMainControls) {
            QWidget* widget = StaticOrControl(dialog, control);
            if (widget == box) continue;
            inRows.append(widget);
            QVERIFY2(box->geometry().contains(widget->geometry()), control.objectName);
            if (auto* field = qobject_cast<QLineEdit*>(widget)) {
                QVERIFY2(field->height() >= field->sizeHint().height(), control.objectName);
            }
            if (auto* label = qobject_cast<QLabel*>(widget)) {
                QVERIFY2(label->height() >= label->heightForWidth(label->width()), control.text);
            }
        }
        for (qsizetype i = 0; i < inRows.size(); ++i) {
            for (qsizetype j = i + 1; j < inRows.size(); ++j) {
                QVERIFY(!inRows[i]->geometry().intersects(inRows[j]->geometry()));
            }
        }
        // The second row stays one row: its controls keep their common centre line.
        const int centre = dialog.Control(IDC_RESULT)->geometry().center().y();
        for (int id : {IDC_X, IDC_Y, IDC_Z, IDC_CALCULATE})
            QVERIFY(qAbs(dialog.Control(id)->geometry().center().y() - centre) <= 1);
        // The button keeps its template proportion, 13 to 12, to the X field beside it.
        QVERIFY(qAbs(dialog.Control(IDC_CALCULATE)->height() * 12 -
                     dialog.Control(IDC_X)->height() * 13) <= 12);
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
    }

    void qtTextsAreChinese() {
        CQuorvelDlg dialog(RecordingRequest);
        std::unique_ptr<QMenu> menu(FieldOf(dialog, IDC_EXPRESSION)->createStandardContextMenu());
        QStringList texts;
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator()) texts.append(action->text().section(u'\t', 0, 0));
        }
        QVERIFY(texts.contains(QStringLiteral("粘贴(&P)")));
        QVERIFY(texts.contains(QStringLiteral("复制(&C)")));
        QVERIFY(!texts.contains(QStringLiteral("&Paste")));
    }

    void labelsNameTheirFields_data() {
        QTest::addColumn<QString>("label");
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("accessibleName");
        QTest::newRow("x") << "X:" << IDC_X << "X";
        QTest::newRow("y") << "Y:" << IDC_Y << "Y";
        QTest::newRow("z") << "Z:" << IDC_Z << "Z";
        QTest::newRow("result") << "运算结果:" << IDC_RESULT << "运算结果";
    }

    void labelsNameTheirFields() {
        QFETCH(QString, label);
        QFETCH(int, id);
        QFETCH(QString, accessibleName);
        CQuorvelDlg dialog(RecordingRequest);
        QLabel* found = nullptr;
        for (QLabel* candidate : dialog.findChildren<QLabel*>()) {
            if (candidate->text() == label) found = candidate;
        }
        QVERIFY(found != nullptr);
        QCOMPARE(found->buddy(), dialog.Control(id));
        QCOMPARE(dialog.Control(id)->accessibleName(), accessibleName);
        QCOMPARE(dialog.Control(IDC_CALCULATE)->accessibleName(), QStringLiteral("运算"));
        QCOMPARE(dialog.Control(IDC_EXPRESSION)->accessibleName(), QStringLiteral("表达式"));
    }

    void everyResultIsAnnounced() {
        CQuorvelDlg dialog;
        QLineEdit* expression = FieldOf(dialog, IDC_EXPRESSION);
        g_textNotices.clear();
        // Without a screen reader nothing listens; switching the platform's side on lets the
        // notices through to the recording handler, as Qt's own accessibility tests do.
        QPlatformAccessibility* platform =
            QGuiApplicationPrivate::platformIntegration()->accessibility();
        QVERIFY(platform != nullptr);
        platform->setActive(true);
        QAccessible::installUpdateHandler(RecordTextNotice);
        for (const char* text : {"1+2", "1+2", "2+2", "1e3", "1e3"}) {
            expression->setText(QString::fromLatin1(text));
            dialog.OnCalculate();
        }
        QAccessible::installUpdateHandler(nullptr);
        platform->setActive(false);
        QStringList announced;
        for (const auto& [object, text] : g_textNotices) {
            if (object == dialog.Control(IDC_RESULT)) announced.append(text);
        }
        const QString error = QString::fromUtf8(kErrorText);
        QCOMPARE(announced, (QStringList{"3.000000", "3.000000", "4.000000", error, error}));
        QAccessibleInterface* result =
            QAccessible::queryAccessibleInterface(dialog.Control(IDC_RESULT));
        QCOMPARE(result->text(QAccessible::Name), QStringLiteral("运算结果"));
        QCOMPARE(result->text(QAccessible::Value), error);
    }

    void upAndDownWalkTheSessionHistory_data() {
        QTest::addColumn<QStringList>("calculated");
        QTest::addColumn<QString>("typed");  // null: the field keeps the last expression
        QTest::addColumn<QString>("keys");   // U for Up, D for Down
        QTest::addColumn<QStringList>("shown");
        const QStringList abc{"a", "b", "c"};
        QTest::newRow("newest in the field")
            << abc << QString() << "UUUDDDD" << QStringList{"b", "a", "a", "b", "c", "c", "c"};
        QTest::newRow("something typed") << abc << "d"
                                         << "UUDD" << QStringList{"c", "b", "c", "d"};
        QTest::newRow("repeats kept once")
            << QStringList{"a", "a", "b", "b"} << QString() << "UUD" << QStringList{"a", "a", "b"};
        QTest::newRow("nothing calculated") << QStringList{} << "x"
                                            << "UD" << QStringList{"x", "x"};
        QTest::newRow("no newer before up") << abc << "d"
                                            << "D" << QStringList{"d"};
        QTest::newRow("earlier repeat kept")
            << QStringList{"a", "b", "a"} << QString() << "UU" << QStringList{"b", "a"};
    }

    void upAndDownWalkTheSessionHistory() {
        QFETCH(QStringList, calculated);
        QFETCH(QString, typed);
        QFETCH(QString, keys);
        QFETCH(QStringList, shown);
        ShownDialog dialog;
        QVERIFY(dialog.active);
        QLineEdit* expression = FieldOf(dialog.dialog, IDC_EXPRESSION);
        expression->setFocus(Qt::TabFocusReason);
        for (const QString& text : calculated) {
            expression->setText(text);
            TypeKey(Qt::Key_Return);
        }
        if (!typed.isNull()) expression->setText(typed);
        QStringList seen;
        for (QChar key : keys) {
            TypeKey(key == u'U' ? Qt::Key_Up : Qt::Key_Down);
            seen.append(expression->text());
        }
        QCOMPARE(seen, shown);
        QCOMPARE(g_recorded.calls, calculated.size());
    }

    void resultTooltipShowsTheExactValue_data() {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("tooltip");
        QTest::addColumn<QString>("exact");  // what 复制精确值 copies; empty when it is disabled
        QTest::newRow("rounded by six decimals")
            << "1.1e11" << QString::fromUtf8("110000005120 · 0x51CCE417") << "110000005120";
        QTest::newRow("shows as zero")
            << "1.0e-8" << QString::fromUtf8("9.999999e-09 · 0x322BCC76") << "9.999999e-09";
        QTest::newRow("a third") << "1/3" << QString::fromUtf8("0.33333334 · 0x3EAAAAAB")
                                 << "0.33333334";
        QTest::newRow("negative zero") << "-0" << QString::fromUtf8("-0 · 0x80000000") << "-0";
        QTest::newRow("error text")
            << "1e3" << QString::fromUtf8("第 1 列：科学计数法的数字需要小数点：请写 1.0e3")
            << QString();
    }

    void resultTooltipShowsTheExactValue() {
        QFETCH(QString, expression);
        QFETCH(QString, tooltip);
        QFETCH(QString, exact);
        CQuorvelDlg dialog;
        FieldOf(dialog, IDC_EXPRESSION)->setText(expression);
        dialog.OnCalculate();
        QLineEdit* result = FieldOf(dialog, IDC_RESULT);
        QCOMPARE(result->toolTip(), tooltip);
        QCOMPARE(result->accessibleDescription(), tooltip);
        QCOMPARE(result->actions().size(), 2);
        QAction* copyExact = result->actions().last();
        QCOMPARE(copyExact->text(), QStringLiteral("复制精确值"));
        QCOMPARE(copyExact->isEnabled(), !exact.isEmpty());
        if (exact.isEmpty()) return;
        QApplication::clipboard()->setText(QStringLiteral("before"));
        copyExact->trigger();
        QCOMPARE(QApplication::clipboard()->text(), exact);
    }

    void resultTooltipGivesTheReason_data() {
        QTest::addColumn<QString>("expression");
        QTest::addColumn<QString>("reason");
        QTest::newRow("constant in lower case") << "pi+1"
                                                << "第 1 列：未知的名称；是否应为 PI";
        QTest::newRow("sign after the start")
            << "2*-3"
            << "第 3 列：正负号只能出现在开头；请把操作数放进括号，如 2*(-3)";
        QTest::newRow("deep inside an argument")
            << "max(1, sqrt(2*-3))"
            << "第 15 列：正负号只能出现在开头；请把操作数放进括号，如 2*(-3)";
        QTest::newRow("too few arguments") << "rand2(1)"
                                           << "第 8 列：参数太少：rand2 接受 2 个参数";
        QTest::newRow("ends early") << "1+"
                                    << "第 3 列：表达式在应有操作数的地方结束了";
        QTest::newRow("only spaces") << "   "
                                     << "表达式为空";
    }

    // Typed and calculated with real key events: the field shows exactly the error text, and its
    // tooltip and accessible description tell why; the next value brings back its exact text.
    void resultTooltipGivesTheReason() {
        QFETCH(QString, expression);
        QFETCH(QString, reason);
        CQuorvelDlg dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QLineEdit* field = FieldOf(dialog, IDC_EXPRESSION);
        field->setFocus(Qt::TabFocusReason);
        QTest::keyClicks(field, expression);
        QTest::keyClick(field, Qt::Key_Return);
        QLineEdit* result = FieldOf(dialog, IDC_RESULT);
        QCOMPARE(result->text(), QString::fromUtf8(kErrorText));
        QCOMPARE(result->toolTip(), reason);
        QCOMPARE(result->accessibleDescription(), reason);

        field->selectAll();
        QTest::keyClicks(field, QStringLiteral("1/4"));
        QTest::keyClick(field, Qt::Key_Return);
        QCOMPARE(result->text(), QStringLiteral("0.250000"));
        QCOMPARE(result->toolTip(), QString::fromUtf8("0.25 · 0x3E800000"));
    }

    // Texts far longer than any expression still fit a field and reach the evaluation whole.
    void fieldsHoldLongTextsWhole() {
        CQuorvelDlg dialog;
        // 1 followed by 4,000 zeros and the exponent that scales it back: exactly 1.
        const QString x = u'1' + QString(4000, u'0') + QStringLiteral("e-4000");
        FieldOf(dialog, IDC_X)->setText(x);
        QCOMPARE(FieldOf(dialog, IDC_X)->text(), x);
        FieldOf(dialog, IDC_EXPRESSION)->setText(QStringLiteral("x"));
        dialog.OnCalculate();
        QCOMPARE(FieldOf(dialog, IDC_RESULT)->text(), QStringLiteral("1.000000"));

        const QString longExpression = QStringLiteral("1+").repeated(2000) + u'1';
        FieldOf(dialog, IDC_EXPRESSION)->setText(longExpression);
        QCOMPARE(FieldOf(dialog, IDC_EXPRESSION)->text().size(), longExpression.size());
        dialog.OnCalculate();
        QCOMPARE(FieldOf(dialog, IDC_RESULT)->text(), QString::fromUtf8(kErrorText));
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
    // A screen of 1280x800, wide enough for the window at its template size.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" QUORVEL_OFFSCREEN_SCREEN);
    CQuorvelApp app(argc, argv);
    QuorvelDlgTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "quorvel_dlg_test.moc"
