#pragma once

#include "progress/status_panels.h"

#include <chrono>
#include <functional>
#include <ostream>
#include <string>

namespace stambrix::cli {

/// The three status panels on a terminal: one line on `err`, rewritten in place at most every
/// 100 ms while `live`. Messages clear that line first and stand on a line of their own.
class TerminalPanels final : public progress::StatusPanels, public progress::UserMessages
{
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    TerminalPanels(std::ostream& err, bool live, Clock clock = std::chrono::steady_clock::now);

    void ShowReadStatus(std::string_view text) override;
    void ShowTimeStatus(std::string_view text) override;
    void ShowWrittenStatus(std::string_view text) override;
    void ShowMessage(std::string_view text) override;
    /// "stambrix-cli: Het bestand <path> kon niet aangemaakt worden: <reason>".
    void ShowFileNotCreated(std::string_view path, std::string_view reason) override;
    /// The note on a line of its own.
    void ShowNote(std::string_view text) override;

    /// Clears the live line and prints what the three panels show, one line each.
    void PrintFinalTexts();
    /// Clears the live line, if one is shown.
    void ClearLine();

private:
    void Set(std::string& panel, std::string_view text, std::string_view caption);
    void Repaint();

    std::ostream& err_;
    bool live_;
    Clock clock_;
    std::string read_;
    std::string time_;
    std::string written_;
    std::chrono::steady_clock::time_point lastRepaint_{};
    std::size_t shownWidth_ = 0;
};

} // namespace stambrix::cli
