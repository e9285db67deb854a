#pragma once

#include <atomic>
#include <exception>

namespace stambrix::progress {

/// What a run throws where it looks at a Cancellation that was cancelled: the run ended because it was
/// asked to, and what it had not yet put in place is gone, as after any failure.
class RunCancelled final : public std::exception
{
public:
    const char* what() const noexcept override { return "run cancelled"; }
};

/// The wish that a run stop, made on one thread and looked at on the run's threads where they report
/// their progress: a ProgressThrottle at every count, and a run waiting for another run's turn.
class Cancellation
{
public:
    void Cancel() noexcept { cancelled_.store(true, std::memory_order_relaxed); }
    bool IsCancelled() const noexcept { return cancelled_.load(std::memory_order_relaxed); }
    /// Throws RunCancelled once Cancel has been called.
    void ThrowIfCancelled() const
    {
        if (IsCancelled()) [[unlikely]]
            throw RunCancelled();
    }

private:
    std::atomic<bool> cancelled_{false};
};

/// The cancellation of a run that nobody stops.
inline const Cancellation kNeverCancelled;

} // namespace stambrix::progress
