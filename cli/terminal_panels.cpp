#include "cli/terminal_panels.h"

#include <algorithm>
#include <string>

namespace stambrix::cli {

void TerminalPanels::Reset()
{
    texts_.Reset();
    Repaint();
}

void TerminalPanels::RecordsRead(std::uint64_t records)
{
    texts_.RecordsRead(records);
    Repaint();
}

void TerminalPanels::EntriesWritten(std::uint64_t entries)
{
    texts_.EntriesWritten(entries);
    Repaint();
}

void TerminalPanels::TimeElapsed(std::uint32_t milliseconds)
{
    texts_.TimeElapsed(milliseconds);
    Repaint();
}

void TerminalPanels::PersonsLeftOut(std::uint64_t persons)
{
    texts_.PersonsLeftOut(persons);
}

void TerminalPanels::Repaint()
{
    if (!live_)
        return;
    const std::string line = texts_.Read() + "  " + texts_.Time() + "  " + texts_.Written();
    err_ << '\r' << line;
    if (line.size() < shownWidth_)
        err_ << std::string(shownWidth_ - line.size(), ' ');
    err_ << std::flush;
    shownWidth_ = line.size();
}

void TerminalPanels::ClearLine()
{
    if (shownWidth_ == 0)
        return;
    err_ << '\r' << std::string(shownWidth_, ' ') << '\r' << std::flush;
    shownWidth_ = 0;
}

void TerminalPanels::ShowMessage(std::string_view text)
{
    ClearLine();
    // The lines of a message are joined by a carriage return; a terminal needs line ends.
    std::string lines(text);
    std::replace(lines.begin(), lines.end(), '\r', '\n');
    err_ << lines << '\n' << std::flush;
}

void TerminalPanels::ShowFileNotCreated(std::string_view path, std::string_view reason)
{
    ClearLine();
    err_ << "stambrix-cli: Het bestand " << path << " kon niet aangemaakt worden: " << reason << '\n' << std::flush;
}

void TerminalPanels::ShowNote(std::string_view text)
{
    ClearLine();
    err_ << text << '\n' << std::flush;
}

void TerminalPanels::PrintFinalTexts()
{
    ClearLine();
    err_ << texts_.Read() << '\n' << texts_.Time() << '\n' << texts_.Written() << '\n';
    if (!texts_.LeftOut().empty())
        err_ << texts_.LeftOut() << '\n';
    err_ << std::flush;
}

} // namespace stambrix::cli
