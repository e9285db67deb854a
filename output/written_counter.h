#pragma once

#include "progress/progress_throttle.h"

#include <cstdint>

namespace stambrix::output {

/// Counts the entries a writer hands out and reports the count after each one.
class WrittenCounter
{
public:
    WrittenCounter(progress::ProgressThrottle& progress, std::uint64_t& count) : progress_(progress), count_(count) {}

    /// Counts one entry, or `entries` at once.
    void Count(std::uint64_t entries = 1)
    {
        count_ += entries;
        progress_.EntriesWritten(count_);
    }

    /// The throttle for a part of the writing done on another thread (ProgressThrottle::Beside).
    progress::ProgressThrottle Beside() const { return progress_.Beside(); }

private:
    progress::ProgressThrottle& progress_;
    std::uint64_t& count_;
};

} // namespace stambrix::output
