#include "app/interaction.h"
#include "app/main_window.h"
#include "run/run_request.h"

#include <QApplication>
#include <QByteArray>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QToolButton>

#include <cstdio>

// A name run of the desktop program on a GEDCOM file, timed the way a user starts it: the main window
// shown (on the offscreen platform unless another is set), the file in the path field, then
// « Uitvoeren ». Prints "desktop_seconds=S"; a message the run shows goes to stderr and fails the run.
//   stambrix_desktop_run FILE.ged
int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "gebruik: stambrix_desktop_run BESTAND.ged\n");
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    bool messageShown = false;
    stambrix::app::CurrentInteraction().showMessage = [&messageShown](QWidget*, const QString& text,
                                                                      stambrix::app::MessageKind) {
        std::fprintf(stderr, "stambrix_desktop_run: %s\n", text.toLocal8Bit().constData());
        messageShown = true;
    };
    stambrix::app::OptionChoices optionChoices;
    stambrix::app::TfrmStambrix window({QString::fromLocal8Bit(argv[1])}, optionChoices);
    window.show();
    window.FormActivate();
    auto* run = window.findChild<QToolButton*>("tbtnUitvoeren");
    QEventLoop untilRunEnded;
    QObject::connect(&window, &stambrix::app::TfrmStambrix::runEnded, &untilRunEnded, &QEventLoop::quit);
    QElapsedTimer timer;
    timer.start();
    run->click();
    untilRunEnded.exec();
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    if (messageShown)
        return 1;
    // The number as C writes it, whatever the locale Qt took from the environment.
    std::printf("desktop_seconds=%s\n", QByteArray::number(seconds, 'f', 3).constData());
    return 0;
}
