#pragma once

#include "progress/panel_texts.h"
#include "progress/run_progress.h"
#include "progress/user_messages.h"

#include <cstdint>
#include <ostream>
#include <string_view>

namespace stambrix::cli {

/// The three status panels on a terminal: while `live`, one line on `err` with the panels' texts,
/// rewritten in place at every report, which come as often as the run's throttle passes them on.
/// Messages clear that line first and stand on a line of their own.
class TerminalPanels final : public progress::RunProgress, public progress::UserMessages
{
public:
    TerminalPanels(std::ostream& err, bool live) : err_(err), live_(live) {}

    void Reset() override;
    void RecordsRead(std::uint64_t records) override;
    void EntriesWritten(std::uint64_t entries) override;
    void TimeElapsed(std::uint32_t milliseconds) override;
    void PersonsLeftOut(std::uint64_t persons) override;
    void ShowMessage(std::string_view text) override;
    /// "stambrix-cli: Het bestand <path> kon niet aangemaakt worden: <reason>".
    void ShowFileNotCreated(std::string_view path, std::string_view reason) override;
    /// The note on a line of its own.
    void ShowNote(std::string_view text) override;

    /// Clears the live line and prints what the three panels show, one line each, and the persons
    /// left out on a fourth line when the run reported them.
    void PrintFinalTexts();
    /// Clears the live line, if one is shown.
    void ClearLine();

private:
    void Repaint();

    std::ostream& err_;
    bool live_;
    progress::PanelTexts texts_;
    std::size_t shownWidth_ = 0;
};

} // namespace stambrix::cli
