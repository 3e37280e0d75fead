#pragma once

#include <QDialog>
#include <QIcon>
#include <array>

#include "frontend/dialog_template.h"
#include "frontend/evaluation_request.h"

class QLineEdit;

// Turns the expression, X, Y and Z texts (UTF-8) into the text the result field shows.
using RequestFunction = DisplayText (*)(const char* expression, const char* x, const char* y,
                                        const char* z);

// The calculator window: the IDD_MAIN controls, Enter calculating from any of them, Esc doing
// nothing, and only the window's own close command ending it.
class CQuorvelDlg : public QDialog {
    Q_OBJECT

  public:
    explicit CQuorvelDlg(RequestFunction request = EvaluationRequest);

    // The control with this identifier, or nullptr for IDC_STATIC and unknown identifiers.
    QWidget* Control(int id) const;

    void OnCalculate();

  public slots:
    void reject() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateControls();
    void ApplyWindowStyle();
    void OnInitDialog();
    QLineEdit* Field(int id) const;

    RequestFunction request_;
    QIcon icon_;
    std::array<QWidget*, kMainControlCount> controls_{};
};
