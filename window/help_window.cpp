#include "window/help_window.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "reasons/help_tables.h"

namespace {

constexpr char kHelpCaption[] = "运算帮助";
constexpr QSize kPreferredSize(560, 520);

QString Escaped(const char* text) {
    return QString::fromUtf8(text).toHtmlEscaped();
}

// Code that no line break may cut: "clamp(value, upper, lower)".
QString CodeHtml(const char* text) {
    return QStringLiteral("<code>%1</code>")
        .arg(Escaped(text).replace(QLatin1Char(' '), QStringLiteral("&nbsp;")));
}

QString TableHtml(const HelpTable& table) {
    QString html = QStringLiteral("<h3>%1</h3><table cellspacing=\"4\">")
                       .arg(Escaped(table.title[kHelpChinese]));
    for (std::size_t i = 0; i < table.count; ++i) {
        html += QStringLiteral("<tr><td>%1</td><td>%2</td></tr>")
                    .arg(CodeHtml(table.rows[i].term), Escaped(table.rows[i].text[kHelpChinese]));
    }
    return html + QStringLiteral("</table>");
}

QString FunctionsHtml() {
    QString html = QStringLiteral("<h3>%1</h3><p>").arg(Escaped(kFunctionsTitle[kHelpChinese]));
    int lastArity = 0;
    for (std::size_t i = 0; i < HelpFunctionCount(); ++i) {
        char signature[kSignatureCapacity];
        const int arity = HelpFunctionSignature(i, signature);
        if (lastArity != 0 && arity != lastArity) html += QStringLiteral("<br>");
        html += CodeHtml(signature) + QStringLiteral("&nbsp;&nbsp; ");
        lastArity = arity;
    }
    return html + QStringLiteral("</p>");
}

}  // namespace

QString HelpHtml() {
    return TableHtml(kSyntaxHelp) + FunctionsHtml() + TableHtml(kSurpriseHelp);
}

HelpWindow::HelpWindow(QWidget* calculator)
    : QDialog(calculator, Qt::Dialog | Qt::WindowStaysOnTopHint) {
    setWindowTitle(QString::fromUtf8(kHelpCaption));
    setObjectName(QStringLiteral("help"));
    auto* text = new QTextBrowser(this);
    text->setObjectName(QStringLiteral("helpText"));
    text->setHtml(HelpHtml());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("关闭"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(buttons);
    const QRect available = calculator->screen()->availableGeometry();
    resize(kPreferredSize.boundedTo(available.size() * 9 / 10));
}
