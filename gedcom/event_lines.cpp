#include "gedcom/event_lines.h"

#include "gedcom/gedcom_line.h"
#include "gedcom/person_judgement.h"
#include "text/ascii.h"

namespace stambrix::gedcom {

namespace {
// The level of a line when it is 0, 1 or 2; -1 for any other line. `next` is then the first
// character after the level and its delimiter.
int LevelOf(std::string_view line, char& next)
{
    std::size_t i = 0;
    while (i < line.size() && static_cast<unsigned char>(line[i]) <= 32)
        ++i;
    if (line.size() - i < 2 || line[i] < '0' || line[i] > '2' || !IsDelimiter(line[i + 1]))
        return -1;
    next = i + 2 < line.size() ? line[i + 2] : '\0';
    return line[i] - '0';
}

// A level-2 line that restricts its event; `next` as LevelOf gives it. Nearly every line below an
// event is a DATE, PLAC, SOUR or NOTE: only one whose tag may be RESN is taken apart.
bool HidesItsEvent(std::string_view line, char next)
{
    if (text::ToUpperAscii(next) != 'R' && !IsDelimiter(next) && next != '@')
        return false;
    return text::EqualsNoCase(TagOf(line), "RESN") && IsPrivateRestriction(TextAfterTagOf(line));
}
} // namespace

bool EventLines::ReadLine(std::string_view& line)
{
    if (next_ == structureLines_ && !HoldNextStructure()) {
        line = {};
        hidden_ = false;
        return false;
    }
    const std::size_t begin = next_ == 0 ? 0 : ends_[next_ - 1];
    line = std::string_view(held_).substr(begin, ends_[next_] - begin);
    ++next_;
    return true;
}

void EventLines::Hold(std::string_view line)
{
    held_.append(line);
    ends_.push_back(held_.size());
}

bool EventLines::HoldNextStructure()
{
    std::string_view line;
    if (ends_.size() > structureLines_) {
        // The line that ended the structure before begins this one.
        const std::size_t begin = structureLines_ == 0 ? 0 : ends_[structureLines_ - 1];
        held_.erase(0, begin);
        ends_.assign(1, held_.size());
    } else {
        held_.clear();
        ends_.clear();
        if (!lines_.ReadLine(line))
            return false;
        Hold(line);
    }
    next_ = 0;
    char next = '\0';
    const bool event = LevelOf(held_, next) == 1;
    hidden_ = false;
    while (lines_.ReadLine(line)) {
        const int level = LevelOf(line, next);
        Hold(line);
        if (level == 0 || level == 1) {
            structureLines_ = ends_.size() - 1;
            return true;
        }
        if (event && level == 2 && !hidden_)
            hidden_ = HidesItsEvent(line, next);
    }
    structureLines_ = ends_.size();
    return true;
}

} // namespace stambrix::gedcom
