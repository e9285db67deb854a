#pragma once

#ifdef __unix__
#include <signal.h>
#endif

namespace stambrix::output {

/// While it lives, SIGINT, SIGTERM and SIGHUP are held back from the calling thread; one that
/// arrives meanwhile is delivered when it ends. On Windows the console's control handler waits for
/// it instead (WaitWhileTerminationHeld).
class TerminationSignalsHeld
{
public:
    TerminationSignalsHeld();
    ~TerminationSignalsHeld();
    TerminationSignalsHeld(const TerminationSignalsHeld&) = delete;
    TerminationSignalsHeld& operator=(const TerminationSignalsHeld&) = delete;

#ifdef __unix__
private:
    sigset_t previous_;
#endif
};

#ifdef _WIN32
/// Returns once no TerminationSignalsHeld lives on any thread; the console's control handler, which
/// runs on a thread of its own, calls it before it ends the program.
void WaitWhileTerminationHeld() noexcept;
#endif

} // namespace stambrix::output
