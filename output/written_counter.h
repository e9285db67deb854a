#pragma once

#include "progress/count_text.h"
#include "progress/status_panels.h"

#include <cstdint>
#include <string>

namespace stambrix::output {

/// Counts the entries a writer hands out and shows "geschreven : N" on the written panel after
/// each one.
class WrittenCounter
{
public:
    WrittenCounter(progress::StatusPanels& panels, std::uint64_t& count) : panels_(panels), count_(count) {}

    /// Counts one entry, or `entries` at once.
    void Count(std::uint64_t entries = 1)
    {
        count_ += entries;
        progress::AssignCountText(text_, progress::kWrittenPrefix, count_);
        panels_.ShowWrittenStatus(text_);
    }

private:
    progress::StatusPanels& panels_;
    std::uint64_t& count_;
    std::string text_;
};

} // namespace stambrix::output
