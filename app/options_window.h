#pragma once

#include "run/run_request.h"

#include <QDialog>

class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;

namespace stambrix::app {

/// The options window (unit tOpties): the three paths that the HTML pages put before "Genealogie.js",
/// "Genealogie.css" and "achtergrond.jpg". Created once and hidden between showings, so the edits keep
/// what was typed. Only "Sluiten" stores the edits; the close box leaves the option paths as they were.
class TfrmOpties : public QDialog
{
    Q_OBJECT

public:
    /// A window over `optionPaths`, which must outlive it; the edits start empty whatever the paths hold.
    explicit TfrmOpties(run::OptionPaths& optionPaths, QWidget* parent = nullptr);

    /// Stores the three edits unchanged (no trimming, no separator added) into the option paths and closes.
    void bbtnSluitenClick();

protected:
    /// Enter and Escape do nothing in this window: only "Sluiten" and the close box close it.
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
