#include "output/termination_signals_held.h"

#include <initializer_list>

#include <pthread.h>

namespace stambrix::output {

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

} // namespace stambrix::output
