#include "app/worker_run.h"

#include <system_error>
#include <utility>

namespace stambrix::app {

WorkerRun::WorkerRun(run::RunRequest request, progress::RunProgress& progress, progress::UserMessages& messages)
    : request_(std::move(request)), reports_(progress, messages)
{
    // The run begins with a reset, which reaches this thread behind whatever waits here already (a repaint
    // of the window after its activation, say); made here first, the panels' captions are painted first.
    progress.Reset();
    try {
        thread_ = std::thread([this] { Work(); });
    } catch (const std::system_error&) {
        Work();
    }
}

WorkerRun::~WorkerRun()
{
    if (thread_.joinable()) {
        cancellation_.Cancel();
        thread_.join();
    }
}

run::RunOutcome WorkerRun::Outcome() const
{
    if (failure_)
        std::rethrow_exception(failure_);
    return outcome_;
}

void WorkerRun::Work()
{
    const run::TerminationSignalsHeld held;
    try {
        outcome_ = run::RunIndex(request_, reports_, reports_, cancellation_);
    } catch (...) {
        failure_ = std::current_exception();
    }
    // Posted behind everything the run reported, so `finished` comes once all of that has arrived.
    QMetaObject::invokeMethod(this, &WorkerRun::Finish, Qt::QueuedConnection);
}

void WorkerRun::Finish()
{
    if (thread_.joinable())
        thread_.join();
    running_ = false;
    emit finished();
}

} // namespace stambrix::app
