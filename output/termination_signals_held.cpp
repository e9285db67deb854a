#include "output/termination_signals_held.h"

#include <initializer_list>

#ifdef __unix__
#include <pthread.h>
#endif

namespace stambrix::output {

#ifdef __unix__
TerminationSignalsHeld::TerminationSignalsHeld()
{
    sigset_t held;
    sigemptyset(&held);
    for (const int signal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&held, signal);
    pthread_sigmask(SIG_BLOCK, &held, &previous_);
}

TerminationSignalsHeld::~TerminationSignalsHeld()
{
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
}
#else
TerminationSignalsHeld::TerminationSignalsHeld() = default;
TerminationSignalsHeld::~TerminationSignalsHeld() = default;
#endif

} // namespace stambrix::output
