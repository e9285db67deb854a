#include "gedcom/gedcom_line.h"

#include "text/ascii.h"

#include <cstring>

namespace stambrix::gedcom {

namespace {
bool IsDelimiter(char c)
{
    return c == ' ' || c == '\t';
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Position just behind the tag, and the tag itself.
std::string_view::size_type TagEnd(std::string_view line, std::string_view& tag)
{
    std::string_view::size_type i = 0;
    while (i < line.size() && static_cast<unsigned char>(line[i]) <= 32)
        ++i;
    while (i < line.size() && IsDigit(line[i]))
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
// The line holds `marker` ("@" and the tag), or it is a level-0 line whose tag is `tag`. Most lines
// hold no "@" at all, and one look for it spares them the search for the marker.
bool OpensRecord(std::string_view line, std::string_view marker, std::string_view tag)
{
    const bool holdsAt = !line.empty() && std::memchr(line.data(), '@', line.size()) != nullptr;
    return (holdsAt && text::ContainsNoCase(line, marker)) ||
           (IsLevelZero(line) && text::EqualsNoCase(TagOf(line), tag));
}
} // namespace

unsigned FindAllNoCase(std::string_view line, std::string_view lead, std::span<const std::string_view> tails)
{
    // The empty line at the end of the input may have no data at all, and memchr takes no null pointer.
    if (line.empty())
        return 0;
    unsigned found = 0;
    const char* at = line.data();
    const char* const end = at + line.size();
    while ((at = static_cast<const char*>(std::memchr(at, lead.front(), static_cast<std::size_t>(end - at)))) !=
           nullptr) {
        const std::string_view rest(at, static_cast<std::size_t>(end - at));
        ++at;
        if (!text::StartsWithNoCase(rest, lead))
            continue;
        const std::string_view afterLead(rest.data() + lead.size(), rest.size() - lead.size());
        if (afterLead.empty())
            continue;
        const char next = text::ToUpperAscii(afterLead.front());
        for (std::size_t i = 0; i < tails.size(); ++i)
            if (next == tails[i].front() && text::StartsWithNoCase(afterLead, tails[i]))
                found |= 1u << i;
    }
    return found;
}

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

bool OpensPersonRecord(std::string_view line)
{
    return OpensRecord(line, "@ INDI", "INDI");
}

bool OpensFamilyRecord(std::string_view line)
{
    return OpensRecord(line, "@ FAM", "FAM");
}

bool IsContinuation(std::string_view line)
{
    return text::EqualsNoCase(TagOf(line), "CONC");
}

} // namespace stambrix::gedcom
