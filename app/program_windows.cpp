#include "app/program_windows.h"

#include <utility>

#include <QCoreApplication>

namespace stambrix::app {

ProgramWindows::ProgramWindows(QStringList arguments)
    : frmStambrix_(std::move(arguments), optionChoices_), frmHelp_(&frmStambrix_), frmwmInfoTool_(&frmStambrix_),
      frmOpties_(optionChoices_, &frmStambrix_)
{
    frmStambrix_.SetSecondaryWindows({&frmHelp_, &frmwmInfoTool_, &frmOpties_});
    // The run is cancelled at once, so it ends at its next count, and waited for when the main window goes.
    QObject::connect(&terminationSignals_, &TerminationSignals::received, &frmStambrix_, [this](int signalNumber) {
        frmStambrix_.CancelRun();
        QCoreApplication::exit(ExitCodeFor(signalNumber));
    });
}

} // namespace stambrix::app
