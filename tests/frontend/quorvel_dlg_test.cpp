#include "frontend/quorvel_dlg.h"

#include <QApplication>
#include <QClipboard>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QTextLayout>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <cmath>
#include <cstdio>
#include <string>

#include "frontend/quorvel_app.h"

namespace {

// Stands in for the evaluation so that each calculation can be counted and its input seen.
struct RecordedRequests {
    int calls = 0;
    std::string expression;
    std::string x;
    std::string y;
    std::string z;
};

RecordedRequests g_recorded;

DisplayText RecordingRequest(const char* expression, const char* x, const char* y, const char* z) {
    ++g_recorded.calls;
    g_recorded.expression = expression;
    g_recorded.x = x;
    g_recorded.y = y;
    g_recorded.z = z;
    DisplayText shown{};
    std::snprintf(shown.text, sizeof shown.text, "call %d", g_recorded.calls);
    return shown;
}

QLineEdit* FieldOf(const CQuorvelDlg& dialog, int id) {
    return qobject_cast<QLineEdit*>(dialog.Control(id));
}

QString ResultOf(const CQuorvelDlg& dialog) {
    return FieldOf(dialog, IDC_RESULT)->text();
}

void SendKeyPress(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers, bool repeat) {
    QKeyEvent press(QEvent::KeyPress, key, modifiers, QString(), repeat);
    QApplication::sendEvent(target, &press);
}

void SendKeyRelease(QWidget* target, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QKeyEvent release(QEvent::KeyRelease, key, modifiers);
    QApplication::sendEvent(target, &release);
}

// Calls until the modal run shows a CQuorvelDlg, then hands it to the action; gives up and
// closes every window after a few seconds so that a broken run cannot hang the test.
void WhenModalDialogShows(std::function<void(CQuorvelDlg&)> action, bool& seen) {
    auto* poll = new QTimer;
    auto deadline = std::make_shared<QElapsedTimer>();
    deadline->start();
    QObject::connect(poll, &QTimer::timeout, [poll, deadline, action, &seen] {
        auto* dialog = qobject_cast<CQuorvelDlg*>(QApplication::activeModalWidget());
        if (dialog != nullptr && dialog->isVisible()) {
            seen = true;
            poll->deleteLater();
            action(*dialog);
        } else if (deadline->elapsed() > 5000) {
            poll->deleteLater();
            for (QWidget* window : QApplication::topLevelWidgets())
                window->close();
        }
    });
    poll->start(10);
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

bool HasAllGlyphs(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    int glyphs = 0;
    for (const QGlyphRun& run : layout.glyphRuns()) {
        for (quint32 index : run.glyphIndexes()) {
            if (index == 0) return false;
            ++glyphs;
        }
    }
    return glyphs == text.size();
}

QRect OpaqueBounds(const QImage& image, const QColor& background) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            const bool ink = background.isValid() ? pixel != background : pixel.alpha() > 0;
            if (ink) bounds |= QRect(x, y, 1, 1);
        }
    }
    return bounds;
}

}  // namespace

class QuorvelDlgTest : public QObject {
    Q_OBJECT

  private slots:
    void init() { g_recorded = RecordedRequests{}; }

    void startStateShowsInitialTexts_data();
    void startStateShowsInitialTexts();
    void startStateFocusesTheCalculateButton();
    void windowIsFixedTopMostWithoutMaximize();
    void iconHasEverySize();
    void enterCalculatesOncePerPress_data();
    void enterCalculatesOncePerPress();
    void heldEnterCalculatesOncePerRepeat_data();
    void heldEnterCalculatesOncePerRepeat();
    void escapeNeitherClosesNorCalculates_data();
    void escapeNeitherClosesNorCalculates();
    void clickAndSpaceCalculateOnce_data();
    void clickAndSpaceCalculateOnce();
    void calculationPassesFieldTextsAsUtf8_data();
    void calculationPassesFieldTextsAsUtf8();
    void resultShowsTheEvaluation_data();
    void resultShowsTheEvaluation();
    void tabVisitsControlsInTemplateOrder_data();
    void tabVisitsControlsInTemplateOrder();
    void resultFieldRefusesTypingButCopies();
    void controlsSitAtTheirDialogUnits_data();
    void controlsSitAtTheirDialogUnits();
    void chineseTextsHaveGlyphs_data();
    void chineseTextsHaveGlyphs();
    void minimisedWindowPaintsCentredIcon();
    void closingTheWindowEndsTheModalRun();
    void instanceInitialisationRunsTheDialogAndReturnsFalse();
    void rendersToPng();

  private:
    // A shown, active dialog whose calculations are recorded.
    struct Shown {
        Shown() : dialog(RecordingRequest) {
            dialog.show();
            activated = QTest::qWaitForWindowActive(&dialog);
        }
        CQuorvelDlg dialog;
        bool activated = false;
    };
};

void QuorvelDlgTest::startStateShowsInitialTexts_data() {
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

void QuorvelDlgTest::startStateShowsInitialTexts() {
    QFETCH(int, id);
    QFETCH(QString, text);
    QFETCH(QString, accessibleName);
    CQuorvelDlg dialog(RecordingRequest);
    QLineEdit* field = FieldOf(dialog, id);
    QVERIFY(field != nullptr);
    QCOMPARE(field->text(), text);
    QCOMPARE(field->accessibleName(), accessibleName);
    QCOMPARE(field->isReadOnly(), id == IDC_RESULT);
    QCOMPARE(field->objectName(), QString::fromUtf8(kMainControls[IndexOfControl(id)].objectName));
}

void QuorvelDlgTest::startStateFocusesTheCalculateButton() {
    Shown shown;
    QVERIFY(shown.activated);
    auto* button = qobject_cast<QPushButton*>(shown.dialog.Control(IDC_CALCULATE));
    QVERIFY(button != nullptr);
    QCOMPARE(QApplication::focusWidget(), button);
    QCOMPARE(button->text(), QStringLiteral("运算"));
    QVERIFY(!button->isDefault());
    QVERIFY(!button->autoDefault());
    QCOMPARE(g_recorded.calls, 0);
}

void QuorvelDlgTest::windowIsFixedTopMostWithoutMaximize() {
    Shown shown;
    const CQuorvelDlg& dialog = shown.dialog;
    const Qt::WindowFlags flags = dialog.windowFlags();
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Quorvel解析"));
    QVERIFY(flags.testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(flags.testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(flags.testFlag(Qt::WindowCloseButtonHint));
    QVERIFY(!flags.testFlag(Qt::WindowMaximizeButtonHint));
    // A window of its own rather than a dialog bound to a leader: it gets its own task-bar entry.
    QCOMPARE(dialog.windowType(), Qt::Window);
    QCOMPARE(dialog.minimumSize(), dialog.size());
    QCOMPARE(dialog.maximumSize(), dialog.size());
    QVERIFY(dialog.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint));
}

void QuorvelDlgTest::iconHasEverySize() {
    CQuorvelDlg dialog(RecordingRequest);
    const QList<QSize> sizes = dialog.windowIcon().availableSizes();
    for (int side : {16, 32, 48, 128}) {
        QVERIFY2(sizes.contains(QSize(side, side)), qPrintable(QString::number(side)));
        const QImage image = dialog.windowIcon().pixmap(QSize(side, side)).toImage();
        QCOMPARE(image.size(), QSize(side, side));
        QVERIFY(OpaqueBounds(image, QColor()).isValid());
    }
}

void QuorvelDlgTest::enterCalculatesOncePerPress_data() {
    QTest::addColumn<int>("id");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
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
            << control.id << int(Qt::Key_Return) << int(Qt::NoModifier);
        QTest::addRow("%s keypad enter", control.name)
            << control.id << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
    }
}

void QuorvelDlgTest::enterCalculatesOncePerPress() {
    QFETCH(int, id);
    QFETCH(int, key);
    QFETCH(int, modifiers);
    Shown shown;
    QVERIFY(shown.activated);
    QWidget* control = shown.dialog.Control(id);
    control->setFocus(Qt::TabFocusReason);
    QCOMPARE(QApplication::focusWidget(), control);

    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(g_recorded.calls, 1);
    QCOMPARE(ResultOf(shown.dialog), QStringLiteral("call 1"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QCOMPARE(g_recorded.calls, 2);
    QVERIFY(shown.dialog.isVisible());
    QCOMPARE(QApplication::focusWidget(), control);
}

void QuorvelDlgTest::heldEnterCalculatesOncePerRepeat_data() {
    QTest::addColumn<int>("presses");
    QTest::newRow("one") << 1;
    QTest::newRow("two") << 2;
    QTest::newRow("seven") << 7;
}

void QuorvelDlgTest::heldEnterCalculatesOncePerRepeat() {
    QFETCH(int, presses);
    Shown shown;
    QVERIFY(shown.activated);
    QWidget* field = shown.dialog.Control(IDC_EXPRESSION);
    field->setFocus(Qt::TabFocusReason);
    for (int press = 0; press < presses; ++press) {
        SendKeyPress(field, Qt::Key_Return, Qt::NoModifier, press > 0);
    }
    SendKeyRelease(field, Qt::Key_Return, Qt::NoModifier);
    QCOMPARE(g_recorded.calls, presses);
    QCOMPARE(ResultOf(shown.dialog), QStringLiteral("call %1").arg(presses));
    QVERIFY(shown.dialog.isVisible());
}

void QuorvelDlgTest::escapeNeitherClosesNorCalculates_data() {
    QTest::addColumn<int>("id");
    QTest::newRow("button") << IDC_CALCULATE;
    QTest::newRow("expression") << IDC_EXPRESSION;
    QTest::newRow("result") << IDC_RESULT;
    QTest::newRow("x") << IDC_X;
    QTest::newRow("y") << IDC_Y;
    QTest::newRow("z") << IDC_Z;
}

void QuorvelDlgTest::escapeNeitherClosesNorCalculates() {
    QFETCH(int, id);
    Shown shown;
    QVERIFY(shown.activated);
    QSignalSpy finished(&shown.dialog, &QDialog::finished);
    QWidget* control = shown.dialog.Control(id);
    control->setFocus(Qt::TabFocusReason);
    for (int press = 0; press < 3; ++press)
        QTest::keyClick(control, Qt::Key_Escape);
    QCOMPARE(g_recorded.calls, 0);
    QVERIFY(shown.dialog.isVisible());
    QCOMPARE(finished.count(), 0);
    QCOMPARE(ResultOf(shown.dialog), QString());
}

void QuorvelDlgTest::clickAndSpaceCalculateOnce_data() {
    QTest::addColumn<bool>("click");
    QTest::newRow("click") << true;
    QTest::newRow("space") << false;
}

void QuorvelDlgTest::clickAndSpaceCalculateOnce() {
    QFETCH(bool, click);
    Shown shown;
    QVERIFY(shown.activated);
    QWidget* button = shown.dialog.Control(IDC_CALCULATE);
    if (click) {
        QTest::mouseClick(button, Qt::LeftButton);
    } else {
        QCOMPARE(QApplication::focusWidget(), button);
        QTest::keyClick(button, Qt::Key_Space);
    }
    QCOMPARE(g_recorded.calls, 1);
    QCOMPARE(ResultOf(shown.dialog), QStringLiteral("call 1"));
    QVERIFY(shown.dialog.isVisible());
}

void QuorvelDlgTest::calculationPassesFieldTextsAsUtf8_data() {
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

void QuorvelDlgTest::calculationPassesFieldTextsAsUtf8() {
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
    QCOMPARE(g_recorded.expression, expression.toUtf8().toStdString());
    QCOMPARE(g_recorded.x, x.toUtf8().toStdString());
    QCOMPARE(g_recorded.y, y.toUtf8().toStdString());
    QCOMPARE(g_recorded.z, z.toUtf8().toStdString());
}

void QuorvelDlgTest::resultShowsTheEvaluation_data() {
    QTest::addColumn<QString>("expression");
    QTest::addColumn<QString>("x");
    QTest::addColumn<QString>("y");
    QTest::addColumn<QString>("z");
    QTest::addColumn<QString>("shown");
    const QString error = QString::fromUtf8(kErrorText);
    QTest::newRow("sum") << "1+2"
                         << "0.0"
                         << "0.0"
                         << "0.0"
                         << "3.000000";
    QTest::newRow("x and a function") << "x*2+sin(PI)"
                                      << "1.5"
                                      << "0.0"
                                      << "0.0"
                                      << "3.000000";
    QTest::newRow("all values") << "x+y+z"
                                << "1"
                                << "2"
                                << "3"
                                << "6.000000";
    QTest::newRow("comma is no separator") << "x"
                                           << "1,5"
                                           << "0.0"
                                           << "0.0"
                                           << "1.000000";
    QTest::newRow("empty expression") << ""
                                      << "0.0"
                                      << "0.0"
                                      << "0.0" << error;
    QTest::newRow("unknown name") << "x*foo"
                                  << "0.0"
                                  << "0.0"
                                  << "0.0" << error;
    QTest::newRow("chinese expression") << "运算"
                                        << "0.0"
                                        << "0.0"
                                        << "0.0" << error;
}

void QuorvelDlgTest::resultShowsTheEvaluation() {
    QFETCH(QString, expression);
    QFETCH(QString, x);
    QFETCH(QString, y);
    QFETCH(QString, z);
    QFETCH(QString, shown);
    CQuorvelDlg dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QLineEdit* field = FieldOf(dialog, IDC_EXPRESSION);
    field->setFocus(Qt::TabFocusReason);
    field->setText(expression);
    FieldOf(dialog, IDC_X)->setText(x);
    FieldOf(dialog, IDC_Y)->setText(y);
    FieldOf(dialog, IDC_Z)->setText(z);
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(ResultOf(dialog), shown);
    QCOMPARE(field->text(), expression);
}

void QuorvelDlgTest::tabVisitsControlsInTemplateOrder_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QStringList>("visited");
    QTest::newRow("tab") << int(Qt::Key_Tab)
                         << QStringList{"IDC_EXPRESSION", "IDC_RESULT", "IDC_X",
                                        "IDC_Y",          "IDC_Z",      "IDC_CALCULATE"};
    QTest::newRow("shift tab") << int(Qt::Key_Backtab)
                               << QStringList{"IDC_Z",      "IDC_Y",          "IDC_X",
                                              "IDC_RESULT", "IDC_EXPRESSION", "IDC_CALCULATE"};
}

void QuorvelDlgTest::tabVisitsControlsInTemplateOrder() {
    QFETCH(int, key);
    QFETCH(QStringList, visited);
    Shown shown;
    QVERIFY(shown.activated);
    QStringList seen;
    for (qsizetype step = 0; step < visited.size(); ++step) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        seen.append(QApplication::focusWidget()->objectName());
    }
    QCOMPARE(seen, visited);
    QCOMPARE(g_recorded.calls, 0);
}

void QuorvelDlgTest::resultFieldRefusesTypingButCopies() {
    Shown shown;
    QVERIFY(shown.activated);
    shown.dialog.OnCalculate();
    QLineEdit* result = FieldOf(shown.dialog, IDC_RESULT);
    result->setFocus(Qt::TabFocusReason);
    QVERIFY(result->hasFocus());

    QTest::keyClicks(result, "12ab");
    QTest::keyClick(result, Qt::Key_Backspace);
    QTest::keyClick(result, Qt::Key_Delete);
    QTest::keyClick(result, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(result->text(), QStringLiteral("call 1"));

    QApplication::clipboard()->clear();
    QTest::keyClick(result, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(result->selectedText(), QStringLiteral("call 1"));
    QTest::keyClick(result, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("call 1"));
}

void QuorvelDlgTest::controlsSitAtTheirDialogUnits_data() {
    QTest::addColumn<int>("index");
    for (std::size_t index = 0; index < kMainControlCount; ++index) {
        const ControlTemplate& control = kMainControls[index];
        QTest::addRow("%zu %s", index + 1,
                      control.id != IDC_STATIC                 ? control.objectName
                      : control.kind == ControlKind::kGroupBox ? "group box"
                                                               : control.text)
            << int(index);
    }
}

void QuorvelDlgTest::controlsSitAtTheirDialogUnits() {
    QFETCH(int, index);
    CQuorvelDlg dialog(RecordingRequest);
    QCOMPARE(dialog.font().pointSize(), 9);
    const QFontMetrics metrics(dialog.font());
    const int letters =
        metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz");
    const double unitX = ((letters / 26 + 1) / 2) / 4.0;
    const double unitY = metrics.height() / 8.0;
    const auto scaleX = [unitX](int units) { return int(std::lround(units * unitX)); };
    const auto scaleY = [unitY](int units) { return int(std::lround(units * unitY)); };

    QCOMPARE(dialog.size(), QSize(scaleX(539), scaleY(53)));
    const ControlTemplate& control = kMainControls[index];
    QWidget* widget = StaticOrControl(dialog, control);
    QVERIFY(widget != nullptr);
    const QRect expected(scaleX(control.rect.x), scaleY(control.rect.y), scaleX(control.rect.width),
                         scaleY(control.rect.height));
    QCOMPARE(widget->geometry(), expected);
}

void QuorvelDlgTest::chineseTextsHaveGlyphs_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("button") << "运算";
    QTest::newRow("result label") << "运算结果:";
    QTest::newRow("caption") << "Quorvel解析";
    QTest::newRow("error text") << QString::fromUtf8(kErrorText);
}

void QuorvelDlgTest::chineseTextsHaveGlyphs() {
    QFETCH(QString, text);
    CQuorvelDlg dialog(RecordingRequest);
    QVERIFY2(HasAllGlyphs(text, dialog.font()), qPrintable(dialog.font().toString()));
}

void QuorvelDlgTest::minimisedWindowPaintsCentredIcon() {
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
    QCOMPARE(OpaqueBounds(painted, background), OpaqueBounds(icon, QColor()).translated(origin));
}

void QuorvelDlgTest::closingTheWindowEndsTheModalRun() {
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

void QuorvelDlgTest::instanceInitialisationRunsTheDialogAndReturnsFalse() {
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
    QVERIFY(QApplication::topLevelWidgets().isEmpty() || !QApplication::activeModalWidget());
}

void QuorvelDlgTest::rendersToPng() {
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

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    CQuorvelApp app(argc, argv);
    QuorvelDlgTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "quorvel_dlg_test.moc"
