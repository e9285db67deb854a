#pragma once

#include "progress/status_panels.h"

#include <string>
#include <string_view>
#include <vector>

namespace stambrix::test_support {

/// Status panels that keep every text each panel was given, in order; an empty text (the
/// default caption) is kept as "".
class RecordingPanels final : public progress::StatusPanels
{
public:
    void ShowReadStatus(std::string_view text) override { read.emplace_back(text); }
    void ShowTimeStatus(std::string_view text) override { time.emplace_back(text); }
    void ShowWrittenStatus(std::string_view text) override { written.emplace_back(text); }

    std::vector<std::string> read;
    std::vector<std::string> time;
    std::vector<std::string> written;
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

/// The last of `texts`, the one a panel shows now; "" when there is none.
inline std::string LastOf(const std::vector<std::string>& texts)
{
    return texts.empty() ? std::string() : texts.back();
}

} // namespace stambrix::test_support
