#pragma once

#include "app/help_window.h"
#include "app/info_window.h"
#include "app/main_window.h"
#include "app/option_choices.h"
#include "app/options_window.h"
#include "app/termination_signals.h"

#include <QStringList>

namespace stambrix::app {

/// The program's windows as it starts them: the main window first (it records the program's identity),
/// then the help, information and options windows, made once and hidden until the context menu shows
/// them. SIGINT, SIGTERM and SIGHUP end the program's event loop with ExitCodeFor the signal; a run under
/// way is then cancelled as the main window goes, and ends before the program does, its temporary files
/// removed, or an index it was putting in place put in place whole. `arguments` are the command-line
/// arguments without the program name. Made after the QApplication, once.
class ProgramWindows
{
public:
    explicit ProgramWindows(QStringList arguments);

    TfrmStambrix& Main() { return frmStambrix_; }
    /// Shows the main window.
    void Show() { frmStambrix_.show(); }

private:
    OptionChoices optionChoices_;
    TerminationSignals terminationSignals_;
    TfrmStambrix frmStambrix_;
    TfrmHelp frmHelp_;
    TfrmwmInfoTool frmwmInfoTool_;
    TfrmOpties frmOpties_;
};

} // namespace stambrix::app
