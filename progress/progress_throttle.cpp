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
    : ProgressThrottle(progress, kNeverCancelled, std::move(clock))
{
}

ProgressThrottle::ProgressThrottle(RunProgress& progress, const Cancellation& cancellation, Clock clock)
    : progress_(progress), cancellation_(&cancellation), clock_(std::move(clock)), passed_(clock_())
{
}

ProgressThrottle::ProgressThrottle() : ProgressThrottle(Nobody()) {}

ProgressThrottle ProgressThrottle::Beside() const
{
    return {Nobody(), *cancellation_};
}

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
