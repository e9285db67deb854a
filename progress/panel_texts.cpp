#include "progress/panel_texts.h"

#include "progress/elapsed_text.h"

namespace stambrix::progress {

namespace {
// Every text a panel shows but its caption stands after two blanks.
std::string Shown(std::string_view text)
{
    return "  " + std::string(text);
}
} // namespace

std::string ReadText(std::uint64_t records)
{
    return "gelezen : " + std::to_string(records);
}

std::string WrittenText(std::uint64_t entries)
{
    return "geschreven : " + std::to_string(entries);
}

std::string LeftOutText(std::uint64_t persons)
{
    return "weggelaten : " + std::to_string(persons);
}

void PanelTexts::Reset()
{
    read_ = kReadCaption;
    time_ = kTimeCaption;
    written_ = kWrittenCaption;
    leftOut_.clear();
}

void PanelTexts::RecordsRead(std::uint64_t records)
{
    read_ = Shown(ReadText(records));
}

void PanelTexts::EntriesWritten(std::uint64_t entries)
{
    written_ = Shown(WrittenText(entries));
}

void PanelTexts::TimeElapsed(std::uint32_t milliseconds)
{
    time_ = Shown(ElapsedText(milliseconds));
}

void PanelTexts::PersonsLeftOut(std::uint64_t persons)
{
    leftOut_ = Shown(LeftOutText(persons));
}

void PanelTexts::ShowNote(std::string_view text)
{
    written_ = Shown(text);
}

} // namespace stambrix::progress
