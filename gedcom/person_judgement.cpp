#include "gedcom/person_judgement.h"

#include "gedcom/gedcom_line.h"
#include "text/ascii.h"

namespace stambrix::gedcom {

bool IsPrivateRestriction(std::string_view value)
{
    for (std::size_t from = 0; from <= value.size();) {
        const std::size_t comma = value.find(',', from);
        const std::size_t end = comma == std::string_view::npos ? value.size() : comma;
        const std::string_view part = text::Trim(value.substr(from, end - from));
        if (text::EqualsNoCase(part, "confidential") || text::EqualsNoCase(part, "privacy"))
            return true;
        from = end + 1;
    }
    return false;
}

bool HoldsYearUpTo(std::string_view value, int latest)
{
    std::size_t i = 0;
    int phraseDepth = 0;
    while (i < value.size()) {
        if (value[i] == '(' || (value[i] == ')' && phraseDepth > 0)) {
            phraseDepth += value[i] == '(' ? 1 : -1;
            ++i;
            continue;
        }
        if (phraseDepth > 0 || !text::IsAsciiDigit(value[i])) {
            ++i;
            continue;
        }
        int year = 0;
        const std::size_t start = i;
        for (; i < value.size() && text::IsAsciiDigit(value[i]); ++i)
            if (i - start < 4)
                year = year * 10 + (value[i] - '0');
        const std::size_t digits = i - start;
        if (digits >= 3 && digits <= 4 && year <= latest)
            return true;
    }
    return false;
}

bool PersonJudgement::Examine(std::string_view line)
{
    std::size_t i = 0;
    while (i < line.size() && static_cast<unsigned char>(line[i]) <= 32)
        ++i;
    if (line.size() - i < 2)
        return true;
    const bool levelOne = line[i] == '1' && IsDelimiter(line[i + 1]);
    if (!levelOne) {
        if (line[i] == '0' && IsDelimiter(line[i + 1]))
            return false;
        // Below level 1 only a date can still tell anything, and one below a NO tells nothing.
        if (pastLife_ || belowNo_)
            return true;
    }
    const std::string_view tag = TagOf(line.substr(i));
    if (levelOne)
        belowNo_ = text::EqualsNoCase(tag, "NO");
    if (tag.size() != 4)
        return true;
    switch (text::ToUpperAscii(tag.front())) {
    case 'R':
        if (levelOne && text::EqualsNoCase(tag, "RESN") && IsPrivateRestriction(TextAfterTagOf(line)))
            private_ = true;
        break;
    case 'D':
        if (pastLife_)
            break;
        if (levelOne && text::EqualsNoCase(tag, "DEAT"))
            pastLife_ = true;
        else if (text::EqualsNoCase(tag, "DATE"))
            pastLife_ = HoldsYearUpTo(TextAfterTagOf(line), latestOldYear_);
        break;
    case 'B':
    case 'C':
        if (levelOne && (text::EqualsNoCase(tag, "BURI") || text::EqualsNoCase(tag, "CREM")))
            pastLife_ = true;
        break;
    default:
        break;
    }
    return true;
}

} // namespace stambrix::gedcom
