#include "window/quorvel_dlg.h"

#include <QAction>
#include <QApplication>
#include <QByteArray>
#include <QClipboard>
#include <QFontDatabase>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStringList>
#include <QToolTip>
#include <algorithm>
#include <cmath>

#include "reasons/failure_tooltip.h"
#include "request/exact_value_text.h"
#include "request/reusable_value_text.h"
#include "request/value_conversion.h"
#include "window/control_heights.h"
#include "window/dialog_units.h"
#include "window/help_window.h"
#include "window/single_line_edit.h"
#include "window/width_fit.h"

namespace {

// Families tried for the Chinese texts when the desktop's sans-serif has no CJK glyphs.
constexpr const char* kCjkFallbackFamilies[] = {"WenQuanYi Micro Hei", "Noto Sans CJK SC"};

constexpr int kIconSizes[] = {16, 32, 48, 128};

constexpr int kValueFieldIds[] = {IDC_X, IDC_Y, IDC_Z};

// The fields that give up width when the window would be wider than the screen.
constexpr int kYieldingFieldIds[] = {IDC_EXPRESSION, IDC_RESULT};

// Room left for the window frame, which is not known before the window is shown.
constexpr int kFrameAllowance = 16;

constexpr char kCopyResultText[] = "复制结果";
constexpr char kCopyExactText[] = "复制精确值";
constexpr char kInsertResultText[] = "插入上次结果";
constexpr char kHelpText[] = "帮助";
// The tooltip of a value field whose text is read only in part: "读作 1".
constexpr char kReadAsText[] = "读作 %1";

constexpr Qt::WindowFlags kWindowFlags =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint | Qt::WindowStaysOnTopHint;

QFont DialogFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSize(kMainFontPointSize);
    QStringList families{font.family()};
    for (const char* family : kCjkFallbackFamilies)
        families.append(QString::fromUtf8(family));
    font.setFamilies(families);
    return font;
}

QIcon LoadMainIcon() {
    QIcon icon;
    for (int size : kIconSizes) {
        icon.addFile(QStringLiteral(":/icons/quorvel-%1.png").arg(size), QSize(size, size));
    }
    return icon;
}

QWidget* CreatePushButton(const QString& text, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    // Enter belongs to the calculation, so no button may ever become the default one.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

QWidget* CreateEdit(bool readOnly, QWidget* parent) {
    auto* edit = new SingleLineEdit(parent);
    edit->setReadOnly(readOnly);
    return edit;
}

QWidget* CreateGroupBox(const QString& title, QWidget* parent) {
    auto* box = new QGroupBox(title, parent);
    box->setFocusPolicy(Qt::NoFocus);
    return box;
}

QWidget* CreateStaticText(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setWordWrap(true);
    return label;
}

QWidget* CreateControl(const ControlTemplate& control, QWidget* parent) {
    const QString text = QString::fromUtf8(control.text);
    switch (control.kind) {
        case ControlKind::kPushButton:
            return CreatePushButton(text, parent);
        case ControlKind::kEdit:
            return CreateEdit(false, parent);
        case ControlKind::kReadOnlyEdit:
            return CreateEdit(true, parent);
        case ControlKind::kGroupBox:
            return CreateGroupBox(text, parent);
        case ControlKind::kStaticText:
            return CreateStaticText(text, parent);
    }
    return nullptr;
}

// The height the current style needs for a control's text: the edit fields and labels tell;
// the box keeps its template height, and the button grows as the fields beside it do.
int NeededHeight(QWidget* widget, int fieldHeight) {
    widget->ensurePolished();
    if (qobject_cast<QLineEdit*>(widget) != nullptr) return widget->sizeHint().height();
    if (qobject_cast<QLabel*>(widget) != nullptr) return widget->heightForWidth(widget->width());
    if (qobject_cast<QPushButton*>(widget) != nullptr) return fieldHeight;
    return 0;
}

bool IsEnterKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

bool IsHistoryKey(const QKeyEvent& event) {
    return (event.key() == Qt::Key_Up || event.key() == Qt::Key_Down) &&
           (event.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

// A key that types text into a field: printable characters, no Ctrl, Alt or Meta.
bool TypesText(const QKeyEvent& event) {
    constexpr Qt::KeyboardModifiers kCommandModifiers =
        Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
    const QString text = event.text();
    if (text.isEmpty() || (event.modifiers() & kCommandModifiers)) return false;
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.isPrint(); });
}

// The exact single-precision value and its bit pattern: "110000005120 · 0x51CCE417".
QString ExactValueDetail(const QString& exact, float value) {
    char bits[kBitsTextCapacity];
    ValueBitsText(value, bits);
    return exact + QStringLiteral(" · ") + QString::fromLatin1(bits);
}

// Why the expression failed and where, in Chinese: "第 1 列：未知的名称；是否应为 PI".
QString FailureDetail(const QByteArray& expression, const FailureReport& report) {
    if (report.reason == FailureReason::kNone) return QString();
    char text[kFailureTooltipCapacity];
    FailureTooltipText(expression.constData(), report, text, sizeof text);
    return QString::fromUtf8(text);
}

QString ExactText(float value) {
    char exact[kExactTextCapacity];
    ExactValueText(value, exact, sizeof exact);
    return QString::fromLatin1(exact);
}

// The character on each side of the selection or the cursor, NUL at either end of the text and
// for a character the language does not know.
std::pair<char, char> NeighboursOfInsertion(const QLineEdit& field) {
    const QString text = field.text();
    const qsizetype first =
        field.hasSelectedText() ? field.selectionStart() : field.cursorPosition();
    const qsizetype end = field.hasSelectedText() ? field.selectionEnd() : first;
    const auto ascii = [&](qsizetype at) {
        if (at < 0 || at >= text.size()) return '\0';
        const char16_t c = text[at].unicode();
        return c < 0x80 ? static_cast<char>(c) : 'a';  // any other letter joins a name
    };
    return {ascii(first - 1), ascii(end)};
}

}  // namespace

CQuorvelDlg::CQuorvelDlg(RequestFunction request)
    : QDialog(nullptr, kWindowFlags), request_(request), icon_(LoadMainIcon()) {
    setFont(DialogFont());
    CreateControls();
    FitControlsToStyle();
    ApplyWindowStyle();
    OnInitDialog();
}

QWidget* CQuorvelDlg::Control(int id) const {
    const std::size_t index = IndexOfControl(id);
    return index < kMainControlCount ? controls_[index] : nullptr;
}

void CQuorvelDlg::OnCalculate() {
    const QString typed = Field(IDC_EXPRESSION)->text();
    const QByteArray expression = typed.toUtf8();
    const QByteArray x = Field(IDC_X)->text().toUtf8();
    const QByteArray y = Field(IDC_Y)->text().toUtf8();
    const QByteArray z = Field(IDC_Z)->text().toUtf8();
    const EvaluationAnswer answer =
        request_(expression.constData(), x.constData(), y.constData(), z.constData());
    history_.Record(typed);
    // Bounded by the buffer, so a display text that lost its terminator cannot run past it.
    const char* shown = answer.display.text;
    const auto length = static_cast<qsizetype>(qstrnlen(shown, sizeof answer.display.text));
    exactText_ = answer.evaluated ? ExactText(answer.value) : QString();
    value_ = answer.value;
    copyResult_->setEnabled(answer.evaluated);
    copyExact_->setEnabled(answer.evaluated);
    insertResult_->setEnabled(answer.evaluated && std::isfinite(answer.value));
    ShowResult(QString::fromUtf8(shown, length), answer.evaluated
                                                     ? ExactValueDetail(exactText_, answer.value)
                                                     : FailureDetail(expression, answer.report));
}

void CQuorvelDlg::keyPressEvent(QKeyEvent* event) {
    QWidget* focus = QApplication::focusWidget();
    if (IsEnterKey(event->key())) {
        OnCalculate();
    } else if (event->key() == Qt::Key_Escape) {
        // Esc never ends the window: only its close command does.
    } else if (IsHistoryKey(*event) && focus == Control(IDC_EXPRESSION)) {
        WalkHistory(event->key() == Qt::Key_Up);
    } else if (TypesText(*event) && focus == Control(IDC_CALCULATE)) {
        TypeAhead(event->text());
    } else if (event->matches(QKeySequence::Paste) && focus == Control(IDC_CALCULATE)) {
        PasteAtStart(QClipboard::Clipboard);
    } else {
        QDialog::keyPressEvent(event);
    }
}

// Styles draw the focus only once the keyboard has moved it, and showing a window forgets that
// it has; typing may start at once, so the focus on 运算 is drawn from the start.
void CQuorvelDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    setAttribute(Qt::WA_KeyboardFocusChange);
}

bool CQuorvelDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Control(IDC_CALCULATE) && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton) {
        PasteAtStart(QClipboard::Selection);
        return true;
    }
    // A tooltip closes at the release of the key that moved the focus, so it opens again then.
    const bool focusKeyReleased = event->type() == QEvent::KeyRelease &&
                                  (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Tab ||
                                   static_cast<QKeyEvent*>(event)->key() == Qt::Key_Backtab);
    if (watched == Control(IDC_RESULT) && (event->type() == QEvent::FocusIn || focusKeyReleased))
        ShowReasonAtField();
    return QDialog::eventFilter(watched, event);
}

void CQuorvelDlg::CreateControls() {
    const DialogBaseUnits units = BaseUnitsOf(font());
    for (std::size_t index = 0; index < kMainControlCount; ++index) {
        const ControlTemplate& control = kMainControls[index];
        QWidget* widget = CreateControl(control, this);
        widget->setObjectName(QString::fromUtf8(control.objectName));
        widget->setAccessibleName(QString::fromUtf8(control.accessibleName));
        widget->setGeometry(PixelRect(control.rect, units));
        controls_[index] = widget;
    }
    for (std::size_t index = 0; index < kMainControlCount; ++index) {
        if (auto* label = qobject_cast<QLabel*>(controls_[index]))
            label->setBuddy(Control(kMainControls[index].buddy));
    }
    // The group box frames the other controls and must not cover those made before it.
    for (QWidget* widget : controls_) {
        if (qobject_cast<QGroupBox*>(widget) != nullptr) widget->lower();
    }
    connect(static_cast<QPushButton*>(Control(IDC_CALCULATE)), &QPushButton::clicked, this,
            &CQuorvelDlg::OnCalculate);
    Control(IDC_CALCULATE)->installEventFilter(this);
    Control(IDC_RESULT)->installEventFilter(this);
    for (int id : kValueFieldIds) {
        connect(Field(id), &QLineEdit::textChanged, this, [this, id] { ShowValueReading(id); });
    }
    CreateActions();
}

// A command of the window with its shortcut, working from every control; it shows in the
// context menu of the owner, if that is a field.
QAction* CQuorvelDlg::AddAction(QWidget* owner, const char* text, const QKeySequence& keys) {
    auto* action = new QAction(QString::fromUtf8(text), owner);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setShortcutVisibleInContextMenu(true);
    owner->addAction(action);
    return action;
}

void CQuorvelDlg::CreateActions() {
    QLineEdit* result = Field(IDC_RESULT);
    copyResult_ = AddAction(result, kCopyResultText, QKeySequence(QStringLiteral("Ctrl+Shift+C")));
    copyExact_ = AddAction(result, kCopyExactText, QKeySequence(QStringLiteral("Ctrl+Shift+E")));
    insertResult_ =
        AddAction(Field(IDC_EXPRESSION), kInsertResultText, QKeySequence(QStringLiteral("Ctrl+R")));
    QAction* help = AddAction(this, kHelpText, QKeySequence(Qt::Key_F1));
    for (QAction* action : {copyResult_, copyExact_, insertResult_})
        action->setEnabled(false);
    connect(copyResult_, &QAction::triggered, this,
            [this] { QApplication::clipboard()->setText(Field(IDC_RESULT)->text()); });
    connect(copyExact_, &QAction::triggered, this,
            [this] { QApplication::clipboard()->setText(exactText_); });
    connect(insertResult_, &QAction::triggered, this, &CQuorvelDlg::InsertLastResult);
    connect(help, &QAction::triggered, this, &CQuorvelDlg::ShowHelp);
}

void CQuorvelDlg::FitControlsToStyle() {
    // The button keeps its template proportion to the X field beside it.
    const ControlTemplate& button = kMainControls[IndexOfControl(IDC_CALCULATE)];
    const ControlTemplate& field = kMainControls[IndexOfControl(IDC_X)];
    const int buttonHeight =
        MulDiv(NeededHeight(Control(IDC_X), 0), button.rect.height, field.rect.height);
    std::array<PlacedControl, kMainControlCount> placed;
    for (std::size_t index = 0; index < kMainControlCount; ++index) {
        QWidget* widget = controls_[index];
        placed[index] = {widget->geometry(), NeededHeight(widget, buttonHeight),
                         kMainControls[index].kind == ControlKind::kGroupBox};
    }
    grownHeight_ = FitNeededHeights(placed);
    FitWidthToScreen(placed);
    for (std::size_t index = 0; index < kMainControlCount; ++index)
        controls_[index]->setGeometry(placed[index].rect);
}

void CQuorvelDlg::FitWidthToScreen(std::span<PlacedControl> placed) {
    const int width = PixelSize(kMainClientArea, BaseUnitsOf(font())).width();
    narrowedBy_ = std::max(0, width - (screen()->availableGeometry().width() - kFrameAllowance));
    std::array<WidthFitControl, kMainControlCount> fitted;
    for (std::size_t index = 0; index < kMainControlCount; ++index) {
        const int id = kMainControls[index].id;
        fitted[index] = {placed[index].rect,
                         std::ranges::find(kYieldingFieldIds, id) != std::end(kYieldingFieldIds),
                         placed[index].isBox};
    }
    NarrowBy(fitted, narrowedBy_);
    for (std::size_t index = 0; index < kMainControlCount; ++index)
        placed[index].rect = fitted[index].rect;
}

void CQuorvelDlg::ApplyWindowStyle() {
    setWindowTitle(QString::fromUtf8(kMainCaption));
    setFixedSize(PixelSize(kMainClientArea, BaseUnitsOf(font())) +
                 QSize(-narrowedBy_, grownHeight_));
    setSizeGripEnabled(false);
}

void CQuorvelDlg::OnInitDialog() {
    setWindowIcon(icon_);
    for (int id : kValueFieldIds)
        Field(id)->setText(QString::fromUtf8(kInitialValueText));
    Control(IDC_CALCULATE)->setFocus(Qt::OtherFocusReason);
}

QLineEdit* CQuorvelDlg::Field(int id) const {
    return qobject_cast<QLineEdit*>(Control(id));
}

// The one place the result field changes: its text, and the detail that its tooltip and its
// accessible description give about it (empty for none). Replacing the text tells assistive
// technology of every result, also one that repeats the result before it.
void CQuorvelDlg::ShowResult(const QString& text, const QString& detail) {
    QLineEdit* result = Field(IDC_RESULT);
    result->setText(text);
    result->setToolTip(detail);
    result->setAccessibleDescription(detail);
}

void CQuorvelDlg::WalkHistory(bool older) {
    QLineEdit* expression = Field(IDC_EXPRESSION);
    const std::optional<QString> text =
        older ? history_.Older(expression->text()) : history_.Newer();
    if (text) expression->setText(*text);
}

// A character typed while the calculate button has the focus starts or continues the
// expression, so that typing right after start is not lost.
void CQuorvelDlg::TypeAhead(const QString& text) {
    QLineEdit* expression = Field(IDC_EXPRESSION);
    expression->setFocus(Qt::OtherFocusReason);
    expression->end(false);
    expression->insert(text);
}

// A paste while the calculate button has the focus goes where typing would: to the end of the
// expression, first line only.
void CQuorvelDlg::PasteAtStart(QClipboard::Mode mode) {
    auto* expression = static_cast<SingleLineEdit*>(Field(IDC_EXPRESSION));
    expression->setFocus(Qt::OtherFocusReason);
    expression->end(false);
    expression->PasteFirstLine(mode);
}

// The last result at the cursor of the focused field, or of the expression: there a literal
// that reads back as the same value, bracketed where it would join a neighbouring token; in X, Y
// and Z the exact text, which they read back.
void CQuorvelDlg::InsertLastResult() {
    auto* target = qobject_cast<SingleLineEdit*>(QApplication::focusWidget());
    const bool valueField =
        target != nullptr && target != Field(IDC_EXPRESSION) && !target->isReadOnly();
    if (!valueField) target = static_cast<SingleLineEdit*>(Field(IDC_EXPRESSION));
    char literal[kReusableTextCapacity];
    if (!insertResult_->isEnabled() || !ReusableValueText(value_, literal)) return;
    QString text = valueField ? exactText_ : QString::fromLatin1(literal);
    const auto [before, after] = NeighboursOfInsertion(*target);
    if (!valueField && literal[0] != '(' && JoinsNeighbours(before, after))
        text = QLatin1Char('(') + text + QLatin1Char(')');
    target->setFocus(Qt::OtherFocusReason);
    target->InsertFirstLine(text);
}

// What hovering shows, also for the keyboard: the reason for a failure opens at the field.
void CQuorvelDlg::ShowReasonAtField() {
    QLineEdit* result = Field(IDC_RESULT);
    if (copyResult_->isEnabled() || result->toolTip().isEmpty()) return;
    QToolTip::showText(result->mapToGlobal(QPoint(0, result->height())), result->toolTip(), result);
}

// A value text read only in part says in its tooltip what it was read as.
void CQuorvelDlg::ShowValueReading(int id) {
    QLineEdit* field = Field(id);
    const QByteArray text = field->text().toUtf8();
    field->setToolTip(
        IsWholeValueText(text.constData())
            ? QString()
            : QString::fromUtf8(kReadAsText).arg(ExactText(ConvertValueText(text.constData()))));
}

void CQuorvelDlg::ShowHelp() {
    if (help_ == nullptr) help_ = new HelpWindow(this);
    help_->show();
    help_->raise();
    help_->activateWindow();
}
