#pragma once

#include "progress/run_progress.h"
#include "progress/user_messages.h"

#include <cstdint>
#include <string_view>

namespace stambrix::progress {

/// Progress that nobody watches: for work measured or exercised without a user.
class SilentProgress final : public RunProgress
{
public:
    void Reset() override {}
    void RecordsRead(std::uint64_t) override {}
    void EntriesWritten(std::uint64_t) override {}
    void TimeElapsed(std::uint32_t) override {}
};

/// Messages to the user that nobody reads: for work exercised without a user.
class SilentMessages final : public UserMessages
{
public:
    void ShowMessage(std::string_view) override {}
    void ShowFileNotCreated(std::string_view, std::string_view) override {}
    void ShowNote(std::string_view) override {}
};

} // namespace stambrix::progress
