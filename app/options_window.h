#pragma once

#include "run/run_request.h"

#include <QDialog>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QShowEvent;

namespace stambrix::app {

/// The options window (unit tOpties): the three paths that the HTML pages put before "Genealogie.js",
/// "Genealogie.css" and "achtergrond.jpg". Created once and hidden between showings, so the edits keep
/// what was typed. Only "Sluiten" stores the edits; the close box and Escape leave the option paths as they
/// were.
class TfrmOpties : public QDialog
{
    Q_OBJECT

public:
    /// A window over `optionPaths`, which must outlive it; the edits start empty whatever the paths hold.
    explicit TfrmOpties(run::OptionPaths& optionPaths, QWidget* parent = nullptr);

    /// Stores the three edits unchanged (no trimming, no separator added) into the option paths and closes.
    void bbtnSluitenClick();

protected:
    /// Centres the window on the window that opened it, at every showing.
    void showEvent(QShowEvent* event) override;
    /// Enter does nothing in this window; Escape closes it as the close box does, storing nothing.
    void keyPressEvent(QKeyEvent* event) override;

private:
    run::OptionPaths& optionPaths_;
    QLabel* lblJavaScriptPath;
    QLineEdit* edtJavaScriptPath;
    QLabel* lblStyleSheetPath;
    QLineEdit* edtStyleSheetPath;
    QLabel* lblAchtergrondPath;
    QLineEdit* edtAchtergrondPath;
    QPushButton* bbtnSluiten;
};

} // namespace stambrix::app
