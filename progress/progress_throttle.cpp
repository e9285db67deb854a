#include "progress/progress_throttle.h"

#include "progress/silent_progress.h"

#include <utility>

namespace stambrix::progress {

namespace {
RunProgress& Nobody()
{
    static SilentProgress silent;
    return silent;
}
} // namespace

ProgressThrottle::ProgressThrottle(RunProgress& progress, Clock clock)
    : progress_(progress), clock_(std::move(clock)), passed_(clock_())
{
}

ProgressThrottle::ProgressThrottle() : ProgressThrottle(Nobody()) {}

void ProgressThrottle::Reset()
{
    read_ = {};
    written_ = {};
    progress_.Reset();
    passed_ = clock_();
}

void ProgressThrottle::Look(Count& count)
{
    count.looked = count.value;
    const auto now = clock_();
    if (now - passed_ < kProgressInterval)
        return;
    PassOn();
    passed_ = now;
}

void ProgressThrottle::Flush()
{
    PassOn();
    passed_ = clock_();
}

void ProgressThrottle::TimeElapsed(std::uint32_t milliseconds)
{
    Flush();
    progress_.TimeElapsed(milliseconds);
}

void ProgressThrottle::PassOn()
{
    if (read_.given) {
        read_.given = false;
        progress_.RecordsRead(read_.value);
    }
    if (written_.given) {
        written_.given = false;
        progress_.EntriesWritten(written_.value);
    }
}

} // namespace stambrix::progress
