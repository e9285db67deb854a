#include "app/worker_run.h"

#include "app/run_reports.h"

#include <exception>
#include <system_error>
#include <thread>

#include <QEventLoop>

namespace stambrix::app {

run::RunOutcome RunOnWorkerThread(const run::RunRequest& request, progress::RunProgress& progress,
                                  progress::UserMessages& messages)
{
    // The run begins with a reset, which reaches this thread behind whatever waits here already (a repaint
    // of the window after its activation, say); made here first, the panels' captions are painted first.
    progress.Reset();
    RunReports reports(progress, messages);
    QEventLoop loop;
    run::RunOutcome outcome = run::RunOutcome::Written;
    std::exception_ptr failure;
    std::thread worker;
    try {
        worker = std::thread([&] {
            try {
                outcome = run::RunIndex(request, reports, reports);
            } catch (...) {
                failure = std::current_exception();
            }
            // Posted behind everything the run reported, so the loop ends once all of that has arrived.
            QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        });
    } catch (const std::system_error&) {
        return run::RunIndex(request, progress, messages);
    }
    loop.exec();
    worker.join();
    if (failure)
        std::rethrow_exception(failure);
    return outcome;
}

} // namespace stambrix::app
