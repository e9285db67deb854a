#pragma once

#include "app/option_choices.h"
#include "run/run_choices.h"
#include "run/run_request.h"

#include <QStringList>
#include <QWidget>

#include <filesystem>
#include <memory>
#include <vector>

class QAction;
class QCheckBox;
class QCloseEvent;
class QDialog;
class QLabel;
class QLineEdit;
class QMenu;
class QToolButton;

namespace stambrix::app {

class RadioGroup;
class RunMessages;
class RunningWindow;
class StatusBarPanels;
class WorkerRun;

/// The windows the context menu shows modally.
struct SecondaryWindows
{
    QDialog* help = nullptr;
    QDialog* info = nullptr;
    QDialog* options = nullptr;
};

/// The main window (unit tStambrix): the GEDCOM file, the choices of a run, the commands, the status bar.
/// A run goes on a thread of its own (WorkerRun) while the window, its choices disabled and its input
/// dropped (RunningWindow), goes on being painted and showing the run's progress; RunFinished takes up
/// what the run ended with. The close box during a run asks whether to stop it.
class TfrmStambrix : public QWidget
{
    Q_OBJECT

public:
    /// Creating the window records the program's identity (FormCreate). `arguments` are the
    /// command-line arguments without the program name; `optionChoices` what the options window
    /// sets for the runs.
    TfrmStambrix(QStringList arguments, OptionChoices& optionChoices);
    ~TfrmStambrix() override;

    void SetSecondaryWindows(const SecondaryWindows& windows) { windows_ = windows; }

    /// The start-up steps; they run at the first activation only.
    void FormActivate();

    const QString& MailAddress() const { return mailAddress_; }
    const QString& HomePageAddress() const { return homePageAddress_; }
    const QString& ProgramDirectory() const { return programDirectory_; }
    /// Where each run looks for "Voorzetsels.txt", in order; FormActivate sets the places beside the
    /// program, in the user's and in the system's configuration folder (run::PrefixFilePlaces).
    void SetPrefixFilePlaces(std::vector<std::filesystem::path> places) { prefixFilePlaces_ = std::move(places); }

    void tbtnOpenenClick();
    void tbtnUitvoerenClick();
    void tbtnAfsluitenClick();
    void pmnuStambrixOptiesClick();
    void pmnuStambrixHelpClick();
    void pmnuStambrixEmailClick();
    void pmnuStambrixpageClick();
    void pmnuStambrixInfoClick();
    void rgrpEventClick();
    void rgrpGroepClick();
    void rgrpSoortUitvoerClick();

    /// Asks a run under way to stop (WorkerRun::Cancel), so that it ends at its next count; nothing when
    /// no run is under way. A signal that ends the program asks it at once, before the window goes and
    /// waits for the run.
    void CancelRun();

signals:
    /// A run started by " Uitvoeren " has ended and its messages have been shown.
    void runEnded();

protected:
    bool event(QEvent* event) override;
    /// Closes the window when no run is under way. During a run it asks «De index wordt nog gemaakt.
    /// Stoppen?»: «Ja» cancels the run and closes the window once the run has ended, «Nee» lets it go on.
    void closeEvent(QCloseEvent* event) override;
    /// Opens the context menu on a request from the window or any of its controls, enabled or not, and runs
    /// the command of a toolbar button on Enter, as Space does.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    QWidget* BuildButtonBar();
    QWidget* BuildChoices();
    void BuildContextMenu();
    void ShowReconciledChoices();
    bool IsToolbarCommand(const QObject* object) const;
    /// Reads the prefix list for the run about to start; false, after a message naming the file and the
    /// reason, when a list stands there but cannot be read.
    bool LoadPrefixesForRun();
    bool IsRunning() const;
    /// Takes up the end of a run: gives the window back, then shows the run's messages, or closes the
    /// window when the close box asked for that during the run.
    void RunFinished();
    /// The line that tells that living persons are left out, shown while the option is on, with the
    /// number the last run left out.
    void ShowZonderLevenden();

    QStringList arguments_;
    OptionChoices& optionChoices_;
    SecondaryWindows windows_;
    bool activated_ = false;
    QString mailAddress_;
    QString homePageAddress_;
    QString programDirectory_;
    std::vector<std::filesystem::path> prefixFilePlaces_;
    run::PrefixTable prefixes_;

    QToolButton* tbtnOpenen_ = nullptr;
    QToolButton* tbtnUitvoeren_ = nullptr;
    QToolButton* tbtnAfsluiten_ = nullptr;
    QLineEdit* edtBestandOpenen_ = nullptr;
    RadioGroup* rgrpEvent_ = nullptr;
    RadioGroup* rgrpGroep_ = nullptr;
    RadioGroup* rgrpSoortUitvoer_ = nullptr;
    QCheckBox* cbxInFrame_ = nullptr;
    QLabel* lblZonderLevenden_ = nullptr;
    QMenu* pmnuStambrix_ = nullptr;
    std::unique_ptr<StatusBarPanels> panels_;
    std::unique_ptr<RunMessages> messages_;
    // The run reports to the two above, so it goes first: a run under way when the window goes (the
    // program ends) is cancelled and waited for.
    std::unique_ptr<WorkerRun> run_;
    std::unique_ptr<RunningWindow> running_;
    bool closeWhenStopped_ = false;
};

} // namespace stambrix::app
