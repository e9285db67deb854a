#pragma once

#include "progress/cancellation.h"
#include "progress/run_progress.h"

#include <chrono>
#include <cstdint>
#include <functional>

namespace stambrix::progress {

/// At most this often a run's counts reach its front end.
inline constexpr std::chrono::milliseconds kProgressInterval{100};

/// The one place that decides how often a run's counts reach its RunProgress. The run gives each
/// count as it changes, once a record or an entry; a count that has grown by kCountsPerLook since
/// the throttle last looked at it makes the throttle look at the clock, and the counts given since
/// the last passing-on are passed on when kProgressInterval has gone by since then. Flush passes
/// them on at once, so the final counts always arrive; a reset passes on at once, and the elapsed
/// time after the counts. A count that was never given is never passed on: its panel keeps its
/// caption. One thread uses a throttle; a part of a run that counts beside the reporting one has a
/// throttle of its own that passes nothing on (Beside). Every count given to a throttle whose
/// Cancellation was cancelled throws RunCancelled instead.
class ProgressThrottle
{
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    /// Passes the counts on to `progress`, timed by `clock`; never cancelled.
    explicit ProgressThrottle(RunProgress& progress, Clock clock = std::chrono::steady_clock::now);
    /// Passes the counts on to `progress`, timed by `clock`; a count given once `cancellation` is
    /// cancelled throws RunCancelled.
    ProgressThrottle(RunProgress& progress, const Cancellation& cancellation,
                     Clock clock = std::chrono::steady_clock::now);
    /// Passes nothing on; never cancelled.
    ProgressThrottle();

    /// A throttle for a part of the run that counts on another thread: it passes nothing on and is
    /// cancelled with this one.
    ProgressThrottle Beside() const;

    /// Forgets the counts and passes the reset on at once.
    void Reset();
    void RecordsRead(std::uint64_t records) { Give(read_, records); }
    void EntriesWritten(std::uint64_t entries) { Give(written_, entries); }
    /// Passes on at once the counts given since they were last passed on.
    void Flush();
    /// Flushes, then passes the elapsed time on.
    void TimeElapsed(std::uint32_t milliseconds);

private:
    static constexpr std::uint64_t kCountsPerLook = 64;

    struct Count
    {
        std::uint64_t value = 0;
        std::uint64_t looked = 0; ///< the value when the clock was last looked at for it
        bool given = false;       ///< given since it was last passed on
    };

    // A count costs a look at the cancellation, an assignment and a comparison; the clock is read once
    // every kCountsPerLook.
    void Give(Count& count, std::uint64_t value)
    {
        cancellation_->ThrowIfCancelled();
        count.value = value;
        count.given = true;
        if (value - count.looked >= kCountsPerLook)
            Look(count);
    }
    void Look(Count& count);
    void PassOn();

    RunProgress& progress_;
    const Cancellation* cancellation_;
    Clock clock_;
    std::chrono::steady_clock::time_point passed_;
    Count read_;
    Count written_;
};

} // namespace stambrix::progress
