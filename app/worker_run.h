#pragma once

#include "app/run_reports.h"
#include "progress/cancellation.h"
#include "progress/run_progress.h"
#include "progress/user_messages.h"
#include "run/run_index.h"
#include "run/run_request.h"

#include <exception>
#include <thread>

#include <QObject>

namespace stambrix::app {

/// One RunIndex of a request on a thread of its own, its progress and messages reaching `progress` and
/// `messages` on the thread that made it (the window's) through RunReports, so that thread goes on
/// handling its events meanwhile. `finished` comes once the run has ended and everything it reported
/// has arrived. Where no thread is to be had, the run goes on the window's thread when it is made, and
/// `finished` comes all the same. The run's threads hold the termination signals back: they are the
/// window's to handle (TerminationSignals).
class WorkerRun final : public QObject
{
    Q_OBJECT

public:
    /// Resets `progress` and starts the run of `request`.
    WorkerRun(run::RunRequest request, progress::RunProgress& progress, progress::UserMessages& messages);
    /// A run still under way is cancelled, and waited for.
    ~WorkerRun() override;
    WorkerRun(const WorkerRun&) = delete;
    WorkerRun& operator=(const WorkerRun&) = delete;

    const run::RunRequest& Request() const { return request_; }
    /// True from the start until `finished`.
    bool IsRunning() const { return running_; }
    /// Asks the run to stop: it throws progress::RunCancelled at its next count, or while it waits for
    /// another run's turn, having removed the files it had not put in place. An index being put in
    /// place is put in place whole, and the run ends as it would have.
    void Cancel() { cancellation_.Cancel(); }
    /// How the run ended, once it has: its outcome, or what it threw, thrown again.
    run::RunOutcome Outcome() const;

signals:
    void finished();

private:
    void Work();
    void Finish();

    run::RunRequest request_;
    RunReports reports_;
    progress::Cancellation cancellation_;
    run::RunOutcome outcome_ = run::RunOutcome::Written;
    std::exception_ptr failure_;
    bool running_ = true;
    std::thread thread_;
};

} // namespace stambrix::app
