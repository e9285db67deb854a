#pragma once

#include "progress/run_progress.h"
#include "progress/user_messages.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stambrix::test_support {

/// Keeps every report of a run's progress, each kind in order.
class RecordingProgress final : public progress::RunProgress
{
public:
    void Reset() override { ++resets; }
    void RecordsRead(std::uint64_t records) override { read.push_back(records); }
    void EntriesWritten(std::uint64_t entries) override { written.push_back(entries); }
    void TimeElapsed(std::uint32_t milliseconds) override { time.push_back(milliseconds); }
    void PersonsLeftOut(std::uint64_t persons) override { leftOut.push_back(persons); }

    int resets = 0;
    std::vector<std::uint64_t> read;
    std::vector<std::uint64_t> written;
    std::vector<std::uint32_t> time;
    std::vector<std::uint64_t> leftOut;
};

/// Keeps every message shown to the user, in order, a file not created as its message; the notes
/// apart.
class RecordingMessages final : public progress::UserMessages
{
public:
    void ShowMessage(std::string_view text) override { messages.emplace_back(text); }
    void ShowFileNotCreated(std::string_view path, std::string_view reason) override
    {
        messages.push_back(progress::FileNotCreatedText(path));
        reasons.emplace_back(reason);
    }
    void ShowNote(std::string_view text) override { notes.emplace_back(text); }

    std::vector<std::string> messages;
    std::vector<std::string> reasons;
    std::vector<std::string> notes;
};

/// The last of `reports`, the one a panel shows now; none when there is none.
template <typename Count> std::optional<Count> LastOf(const std::vector<Count>& reports)
{
    if (reports.empty())
        return std::nullopt;
    return reports.back();
}

} // namespace stambrix::test_support
