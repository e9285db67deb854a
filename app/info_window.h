#pragma once

#include <functional>

#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class QShowEvent;

namespace stambrix::app {

/// The information window (unit wmInfoTool): the program's name, version and date and the maker's contact details, read
/// from the registry records at every showing, and the maker's name rising into view below them. "Sluiten" and Escape
/// close it.
class TfrmwmInfoTool : public QDialog
{
    Q_OBJECT

public:
    /// Holds the user-interface thread for the given number of milliseconds.
    using Pause = std::function<void(int milliseconds)>;

    /// The logo's top within `pnlCopyRight` before and after the animation, and its steps.
    static constexpr int kLogoStartTop = 127;
    static constexpr int kLogoSteps = 15;
    static constexpr int kLogoStepPixels = 3;
    static constexpr int kLogoPauseMilliseconds = 20;

    explicit TfrmwmInfoTool(QWidget* parent = nullptr);

    /// Replaces the pause between two animation steps (by default a real sleep of the thread).
    void SetPause(Pause pause);

    /// Fills the labels from the program and maker records (a missing value gives an empty text) and
    /// plays the logo animation from its start. Runs at every showing, once the window is on the screen.
    void FormActivate();

    /// Closes the window.
    void bbtnSluitenClick();

protected:
    /// Centres the window on its screen and schedules `FormActivate`.
    void showEvent(QShowEvent* event) override;

private:
    void FillLabels();
    void PlayLogoAnimation();
    /// Puts the logo at its start in "Comic Sans MS" (or its stand-in), the label as wide as the text.
    void FitLogoToText();
    void WaitUntilExposed();

    Pause pause_;
    QFrame* pnlInfo;
    QFrame* pnlProgramma;
    QLabel* lblProgrammaNaam;
    QLabel* lblVersieNummer;
    QLabel* lblVersieDatum;
    QFrame* pnlCopyRight;
    QLabel* lblCopyRight;
    QLabel* lblNaam;
    QLabel* lblAdres;
    QLabel* lblWoonplaats;
    QLabel* lblTelefoon;
    QLabel* lblSoftware;
    QPushButton* bbtnSluiten;
};

} // namespace stambrix::app
