#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QShowEvent;

namespace stambrix::app {

/// The help window (unit tHelp): a fixed Dutch explanation of the program, read-only, with a vertical scroll bar.
/// Created once and hidden between showings; shown centred on the desktop. The text box is as wide as
/// the text's widest line, so every line broken by hand shows as one line; the window is at most
/// `kMaximumHeight` high and leaves room for a title bar on the screen it is shown on.
class TfrmHelp : public QDialog
{
    Q_OBJECT

public:
    static constexpr int kMaximumHeight = 700;
    static constexpr int kTitleBarAllowance = 40;

    explicit TfrmHelp(QWidget* parent = nullptr);

    /// Closes the window.
    void bbtnSluitenClick();

protected:
    /// Centres the window on the screen it is shown on, not on the window that opened it.
    void showEvent(QShowEvent* event) override;

private:
    void FitToText();

    QLabel* lblHelp;
    QPlainTextEdit* mmHelp;
    QPushButton* bbtnSluiten;
};

/// The help text, 78 lines joined by "\n" (without a final line end).
QString HelpText();

} // namespace stambrix::app
