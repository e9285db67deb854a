#include "app/application_setup.h"
#include "app/program_windows.h"
#include "app/radio_group.h"
#include "run/run_request.h"

#include <QApplication>
#include <QCheckBox>
#include <QTimer>
#include <QToolButton>

#include <csignal>

// The program with windows as a test's child process: its windows made as `stambrix` makes them, and
// then what a user would do.
//   stambrix_window_child                 stops itself (SIGSTOP) once the window is shown, no run begun
//   stambrix_window_child GEDCOM          " Uitvoeren " on GEDCOM, the text index
//   stambrix_window_child GEDCOM html     the same, the name index as HTML in frames
int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    stambrix::app::SetUpApplication(application);
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    stambrix::app::ProgramWindows windows(arguments);
    stambrix::app::TfrmStambrix& window = windows.Main();
    windows.Show();
    QTimer::singleShot(0, &window, [&window, &arguments] {
        if (arguments.isEmpty()) {
            std::raise(SIGSTOP);
            return;
        }
        // The first activation fills the path field, whenever the platform gives it.
        window.FormActivate();
        if (arguments.value(1) == QStringLiteral("html")) {
            window.findChild<stambrix::app::RadioGroup*>("rgrpSoortUitvoer")
                ->SetItemIndex(static_cast<int>(stambrix::run::OutputKind::Html));
            window.findChild<QCheckBox*>("cbxInFrame")->setChecked(true);
        }
        window.findChild<QToolButton*>("tbtnUitvoeren")->click();
    });
    return QApplication::exec();
}
