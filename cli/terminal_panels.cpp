#include "cli/terminal_panels.h"

#include <algorithm>

namespace stambrix::cli {

namespace {
constexpr auto kRepaintInterval = std::chrono::milliseconds(100);
}

TerminalPanels::TerminalPanels(std::ostream& err, bool live, Clock clock)
    : err_(err), live_(live), clock_(std::move(clock)), read_(progress::kReadCaption), time_(progress::kTimeCaption),
      written_(progress::kWrittenCaption)
{
}

void TerminalPanels::Set(std::string& panel, std::string_view text, std::string_view caption)
{
    if (text.empty()) {
        panel.assign(caption);
    } else {
        panel.assign("  ");
        panel.append(text);
    }
    if (!live_)
        return;
    const auto now = clock_();
    if (now - lastRepaint_ >= kRepaintInterval) {
        lastRepaint_ = now;
        Repaint();
    }
}

void TerminalPanels::ShowReadStatus(std::string_view text)
{
    Set(read_, text, progress::kReadCaption);
}

void TerminalPanels::ShowTimeStatus(std::string_view text)
{
    Set(time_, text, progress::kTimeCaption);
}

void TerminalPanels::ShowWrittenStatus(std::string_view text)
{
    Set(written_, text, progress::kWrittenCaption);
}

void TerminalPanels::Repaint()
{
    const std::string line = read_ + "  " + time_ + "  " + written_;
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
    err_ << read_ << '\n' << time_ << '\n' << written_ << '\n' << std::flush;
}

} // namespace stambrix::cli
