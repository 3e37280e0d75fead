#pragma once

#include <QClipboard>
#include <QDialog>
#include <QIcon>
#include <array>
#include <span>

#include "request/evaluation_request.h"
#include "window/control_heights.h"
#include "window/dialog_template.h"
#include "window/expression_history.h"

class QAction;
class QLineEdit;
class HelpWindow;

// Turns the expression, X, Y and Z texts (UTF-8) into the text the result field shows and the
// value behind it.
using RequestFunction = EvaluationAnswer (*)(const char* expression, const char* x, const char* y,
                                             const char* z);

// The calculator window: the IDD_MAIN controls, Enter calculating from any of them, Esc doing
// nothing, and only the window's own close command ending it.
class CQuorvelDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CQuorvelDlg(RequestFunction request = AnswerRequest);

    // The control with this identifier, or nullptr for IDC_STATIC and unknown identifiers.
    QWidget* Control(int id) const;

    void OnCalculate();

  protected:
    // Every key a control leaves unhandled arrives here: Enter from any control, Esc, the
    // history keys of the expression field and the type-ahead from the calculate button.
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // A middle click on the calculate button pastes, and the result field's reason for a failure
    // shows when the field takes the focus.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void CreateControls();
    void CreateActions();
    QAction* AddAction(QWidget* owner, const char* text, const QKeySequence& keys);
    void FitControlsToStyle();
    void FitWidthToScreen(std::span<PlacedControl> placed);
    void ApplyWindowStyle();
    void OnInitDialog();
    QLineEdit* Field(int id) const;
    void ShowResult(const QString& text, const QString& detail);
    void WalkHistory(bool older);
    void TypeAhead(const QString& text);
    void PasteAtStart(QClipboard::Mode mode);
    void InsertLastResult();
    void ShowReasonAtField();
    void ShowValueReading(int id);
    void ShowHelp();

    RequestFunction request_;
    QIcon icon_;
    std::array<QWidget*, kMainControlCount> controls_{};
    int grownHeight_ = 0;
    int narrowedBy_ = 0;  // how much narrower than its template the screen makes the window
    ExpressionHistory history_;
    QString exactText_;   // the shown value's shortest exact text, empty for the error text
    float value_ = 0.0f;  // the shown value, when there is one
    QAction* copyResult_ = nullptr;
    QAction* copyExact_ = nullptr;
    QAction* insertResult_ = nullptr;
    HelpWindow* help_ = nullptr;
};
