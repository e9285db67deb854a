#pragma once

#include <QDeadlineTimer>
#include <QDialog>

class QFrame;
class QLabel;
class QPushButton;
class QShowEvent;
class QTimer;

namespace stambrix::app {

/// The information window (unit wmInfoTool): the program's name, version and date and the maker's contact details, read
/// from the registry records at every showing, and the maker's name rising into view below them. "Sluiten" and Escape
/// close it.
class TfrmwmInfoTool : public QDialog
{
    Q_OBJECT

public:
    /// The logo's top within `pnlCopyRight` before and after the animation, and its steps.
    static constexpr int kLogoStartTop = 127;
    static constexpr int kLogoSteps = 15;
    static constexpr int kLogoStepPixels = 3;
    static constexpr int kLogoStepMilliseconds = 20;

    explicit TfrmwmInfoTool(QWidget* parent = nullptr);

    /// Fills the labels from the program and maker records (a missing value gives an empty text) and
    /// starts the logo animation from its start: a timer moves the logo a step up every
    /// kLogoStepMilliseconds, from the moment the window is on the screen, and turns it blue after the
    /// last step. The window takes input meanwhile. Runs at every showing.
    void FormActivate();

    /// The logo animation has ended (or not yet begun).
    bool LogoAtRest() const;

    /// Closes the window.
    void bbtnSluitenClick();

protected:
    /// Centres the window on its screen and schedules `FormActivate`.
    void showEvent(QShowEvent* event) override;

private:
    void FillLabels();
    /// Puts the logo at its start in "Comic Sans MS" (or its stand-in), the label as wide as the text.
    void FitLogoToText();
    /// One tick of the animation's timer.
    void MoveLogo();

    QTimer* logoTimer_;
    int logoSteps_ = 0;       ///< the steps the logo has moved
    QDeadlineTimer exposure_; ///< how long the animation waits for the window to be on the screen
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
