#pragma once

#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QShowEvent;

namespace stambrix::app {

/// The help window (unit tHelp): a fixed Dutch explanation of the program, read-only, with a vertical scroll bar.
/// Created once and hidden between showings; shown centred on the desktop.
class TfrmHelp : public QDialog
{
    Q_OBJECT

public:
    explicit TfrmHelp(QWidget* parent = nullptr);

    /// Closes the window.
    void bbtnSluitenClick();

protected:
    /// Centres the window on the screen it is shown on, not on the window that opened it.
    void showEvent(QShowEvent* event) override;

private:
    QLabel* lblHelp;
    QPlainTextEdit* mmHelp;
    QPushButton* bbtnSluiten;
};

/// The help text, 66 lines joined by "\n" (without a final line end).
QString HelpText();

} // namespace stambrix::app
