#pragma once

#ifdef __unix__
#include <signal.h>
#endif

namespace stambrix::output {

/// While it lives, SIGINT, SIGTERM and SIGHUP are held back from the calling thread; one that
/// arrives meanwhile is delivered when it ends. Elsewhere than on Unix it does nothing.
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

} // namespace stambrix::output
