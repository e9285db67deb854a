#include "output/termination_signals_held.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace stambrix::output {

namespace {
std::atomic<int> held{0};
} // namespace

TerminationSignalsHeld::TerminationSignalsHeld()
{
    ++held;
}

TerminationSignalsHeld::~TerminationSignalsHeld()
{
    --held;
}

void WaitWhileTerminationHeld() noexcept
{
    while (held.load() > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

} // namespace stambrix::output
