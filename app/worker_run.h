#pragma once

#include "progress/run_progress.h"
#include "progress/user_messages.h"
#include "run/run_index.h"
#include "run/run_request.h"

namespace stambrix::app {

/// RunIndex of `request` on a thread of its own, its progress and messages reaching `progress` and
/// `messages` on this thread through RunReports. Meanwhile this thread waits in a local event loop, so
/// it goes on handling its events: windows are painted, queued reports shown. Returns once the run has
/// ended and everything it reported has arrived; throws what the run threw. Where no thread is to be
/// had, the run goes on this one, and the windows are painted, and take what the user did meanwhile,
/// when it is over.
run::RunOutcome RunOnWorkerThread(const run::RunRequest& request, progress::RunProgress& progress,
                                  progress::UserMessages& messages);

} // namespace stambrix::app
