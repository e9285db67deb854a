#include "gedcom/gedcom_line.h"

#include "text/ascii.h"

namespace stambrix::gedcom {

namespace {
// Position just behind the tag, and the tag itself.
std::string_view::size_type TagEnd(std::string_view line, std::string_view& tag)
{
    std::string_view::size_type i = 0;
    while (i < line.size() && static_cast<unsigned char>(line[i]) <= 32)
        ++i;
    while (i < line.size() && text::IsAsciiDigit(line[i]))
        ++i;
    while (i < line.size() && IsDelimiter(line[i]))
        ++i;
    if (i < line.size() && line[i] == '@') {
        const auto closing = line.find('@', i + 1);
        i = closing == std::string_view::npos ? line.size() : closing + 1;
        while (i < line.size() && IsDelimiter(line[i]))
            ++i;
    }
    const auto start = i;
    while (i < line.size() && !IsDelimiter(line[i]))
        ++i;
    tag = line.substr(start, i - start);
    return i;
}
} // namespace

bool IsLevelZero(std::string_view line)
{
    std::size_t i = 0;
    while (i < line.size() && static_cast<unsigned char>(line[i]) <= 32)
        ++i;
    return line.size() - i >= 2 && line[i] == '0' && IsDelimiter(line[i + 1]);
}

std::string_view TagOf(std::string_view line)
{
    std::string_view tag;
    TagEnd(line, tag);
    return tag;
}

std::string_view TextAfterTagOf(std::string_view line)
{
    std::string_view tag;
    auto end = TagEnd(line, tag);
    if (end < line.size())
        ++end;
    return line.substr(end);
}

bool OpensPersonRecord(std::string_view line, LineMarkers markers)
{
    return markers.Has(Marker::PersonRecord) || (IsLevelZero(line) && text::EqualsNoCase(TagOf(line), "INDI"));
}

bool OpensFamilyRecord(std::string_view line, LineMarkers markers)
{
    return markers.Has(Marker::FamilyRecord) || (IsLevelZero(line) && text::EqualsNoCase(TagOf(line), "FAM"));
}

bool IsContinuation(std::string_view line)
{
    return text::EqualsNoCase(TagOf(line), "CONC");
}

} // namespace stambrix::gedcom
