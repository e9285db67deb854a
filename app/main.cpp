#include "app/application_setup.h"
#include "app/program_windows.h"

#include <csignal>

#include <QApplication>

int main(int argc, char** argv)
{
#ifdef SIGXFSZ
    // A file that would grow past the file size limit then fails to write (EFBIG) and is reported like
    // a full disk, its temporary file removed, instead of the signal ending the program halfway.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    QApplication application(argc, argv);
    stambrix::app::SetUpApplication(application);
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    stambrix::app::ProgramWindows windows(arguments);
    windows.Show();
    return QApplication::exec();
}
