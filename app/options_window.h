#pragma once

#include "app/option_choices.h"

#include <QDialog>

class QCheckBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QShowEvent;

namespace stambrix::app {

/// The options window (unit tOpties): the three paths that the HTML pages put before "Genealogie.js",
/// "Genealogie.css" and "achtergrond.jpg", and whether persons who may be alive are left out. Created once
/// and hidden between showings; each showing sets the controls from the option choices, so the window
/// shows what is in force. Only "Sluiten" stores them; the close box and Escape leave the option choices
/// as they were, and what was typed is gone at the next showing.
class TfrmOpties : public QDialog
{
    Q_OBJECT

public:
    /// A window over `optionChoices`, which must outlive it.
    explicit TfrmOpties(OptionChoices& optionChoices, QWidget* parent = nullptr);

    /// Stores the three edits unchanged (no trimming, no separator added) into the option paths, and
    /// the check box, and closes.
    void bbtnSluitenClick();

protected:
    /// Sets the controls from the option choices and centres the window on the window that opened it, at
    /// every showing by the program (not when the desktop shows it again).
    void showEvent(QShowEvent* event) override;
    /// Enter does nothing in this window; Escape closes it as the close box does, storing nothing.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void ShowChoices();

    OptionChoices& optionChoices_;
    QLabel* lblJavaScriptPath;
    QLineEdit* edtJavaScriptPath;
    QLabel* lblStyleSheetPath;
    QLineEdit* edtStyleSheetPath;
    QLabel* lblAchtergrondPath;
    QLineEdit* edtAchtergrondPath;
    QCheckBox* cbxZonderLevenden;
    QPushButton* bbtnSluiten;
};

} // namespace stambrix::app
