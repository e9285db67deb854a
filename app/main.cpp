#include "app/application_setup.h"
#include "app/help_window.h"
#include "app/info_window.h"
#include "app/main_window.h"
#include "app/options_window.h"

#include <csignal>

#include <QApplication>

// The main window first (it records the program's identity), then the help, information and
// options windows, created once and hidden until the context menu shows them.
int main(int argc, char** argv)
{
#ifdef SIGXFSZ
    // A file that would grow past the file size limit then fails to write (EFBIG) and is reported like
    // a full disk, its temporary file removed, instead of the signal ending the program halfway.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication application(argc, argv);
    stambrix::app::SetUpApplication(application);
    stambrix::app::OptionChoices optionChoices;
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    stambrix::app::TfrmStambrix frmStambrix(arguments, optionChoices);
    stambrix::app::TfrmHelp frmHelp(&frmStambrix);
    stambrix::app::TfrmwmInfoTool frmwmInfoTool(&frmStambrix);
    stambrix::app::TfrmOpties frmOpties(optionChoices, &frmStambrix);
    frmStambrix.SetSecondaryWindows({&frmHelp, &frmwmInfoTool, &frmOpties});
    frmStambrix.show();
    return QApplication::exec();
}
