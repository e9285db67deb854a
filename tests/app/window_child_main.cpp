#include "app/application_setup.h"
#include "app/program_windows.h"
#include "app/radio_group.h"
#include "run/run_request.h"

#include <QApplication>
#include <QCheckBox>
#include <QTimer>
#include <QToolButton>

// The program with windows as a test's child process: its windows made as `stambrix` makes them, then
// " Uitvoeren " pressed.
//   stambrix_window_child GEDCOM          the text index of GEDCOM
//   stambrix_window_child GEDCOM html     the name index of GEDCOM as HTML in frames
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
