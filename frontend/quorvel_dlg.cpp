#include "frontend/quorvel_dlg.h"

#include <QByteArray>
#include <QCloseEvent>
#include <QFontDatabase>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStringList>
#include <QStyle>

#include "frontend/dialog_units.h"
#include "frontend/icon_placement.h"

namespace {

// Families tried for the Chinese texts when the desktop's sans-serif has no CJK glyphs.
constexpr const char* kCjkFallbackFamilies[] = {"WenQuanYi Micro Hei", "Noto Sans CJK SC"};

constexpr int kIconSizes[] = {16, 32, 48, 128};

constexpr int kValueFieldIds[] = {IDC_X, IDC_Y, IDC_Z};

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
    auto* edit = new QLineEdit(parent);
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

bool IsEnterKey(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

}  // namespace

CQuorvelDlg::CQuorvelDlg(RequestFunction request)
    : QDialog(nullptr, kWindowFlags), request_(request), icon_(LoadMainIcon()) {
    setFont(DialogFont());
    CreateControls();
    ApplyWindowStyle();
    OnInitDialog();
}

QWidget* CQuorvelDlg::Control(int id) const {
    const std::size_t index = IndexOfControl(id);
    return index < kMainControlCount ? controls_[index] : nullptr;
}

void CQuorvelDlg::OnCalculate() {
    const QByteArray expression = Field(IDC_EXPRESSION)->text().toUtf8();
    const QByteArray x = Field(IDC_X)->text().toUtf8();
    const QByteArray y = Field(IDC_Y)->text().toUtf8();
    const QByteArray z = Field(IDC_Z)->text().toUtf8();
    const DisplayText shown =
        request_(expression.constData(), x.constData(), y.constData(), z.constData());
    // Bounded by the buffer, so a display text that lost its terminator cannot run past it.
    const auto length = static_cast<qsizetype>(qstrnlen(shown.text, sizeof shown.text));
    Field(IDC_RESULT)->setText(QString::fromUtf8(shown.text, length));
}

// Esc must not end the dialog; only the window's close command does, through closeEvent.
void CQuorvelDlg::reject() {}

bool CQuorvelDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        // Both keys are consumed here: passed on, an ignored key would travel up to the
        // dialog, meet this filter a second time, and reach the dialog's own Esc handling.
        if (IsEnterKey(key)) {
            OnCalculate();
            return true;
        }
        if (key == Qt::Key_Escape) return true;
    }
    return QDialog::eventFilter(watched, event);
}

void CQuorvelDlg::paintEvent(QPaintEvent* event) {
    if (!isMinimized()) {
        QDialog::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const int side = style()->pixelMetric(QStyle::PM_LargeIconSize, nullptr, this);
    const QSize iconSize(side, side);
    icon_.paint(&painter, QRect(CentredIconOrigin(size(), iconSize), iconSize));
}

void CQuorvelDlg::closeEvent(QCloseEvent* event) {
    done(QDialog::Rejected);
    event->accept();
}

void CQuorvelDlg::CreateControls() {
    const DialogBaseUnits units = BaseUnitsOf(font());
    for (std::size_t index = 0; index < kMainControlCount; ++index) {
        const ControlTemplate& control = kMainControls[index];
        QWidget* widget = CreateControl(control, this);
        widget->setObjectName(QString::fromUtf8(control.objectName));
        widget->setAccessibleName(QString::fromUtf8(control.accessibleName));
        widget->setGeometry(PixelRect(control.rect, units));
        widget->installEventFilter(this);
        controls_[index] = widget;
    }
    // The group box frames the other controls and must not cover those made before it.
    for (QWidget* widget : controls_) {
        if (qobject_cast<QGroupBox*>(widget) != nullptr) widget->lower();
    }
    installEventFilter(this);
    connect(static_cast<QPushButton*>(Control(IDC_CALCULATE)), &QPushButton::clicked, this,
            &CQuorvelDlg::OnCalculate);
}

void CQuorvelDlg::ApplyWindowStyle() {
    setWindowTitle(QString::fromUtf8(kMainCaption));
    setFixedSize(PixelSize(kMainClientArea, BaseUnitsOf(font())));
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
