#include "names/ascii.h"

#include <cstring>

namespace stambrix::names {

std::string ToLowerAscii(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        c = ToLowerAscii(c);
    return lower;
}

std::string_view Trim(std::string_view text)
{
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && StartsWithNoCase(a, b);
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (prefix.size() > text.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (ToUpperAscii(text[i]) != ToUpperAscii(prefix[i]))
            return false;
    return true;
}

std::size_t FindNoCase(std::string_view text, std::string_view pattern, std::size_t from)
{
    if (pattern.empty())
        return from <= text.size() ? from : std::string_view::npos;
    if (from > text.size() || pattern.size() > text.size() - from)
        return std::string_view::npos;
    const char first = pattern.front();
    const char firstUpper = ToUpperAscii(first);
    const char firstLower = ToLowerAscii(first);
    const std::string_view rest = pattern.substr(1);
    // Markers and tags mostly begin with a digit, a blank or "@": one memchr finds the candidates.
    const bool caseless = firstUpper == firstLower;
    for (std::size_t i = from; i + pattern.size() <= text.size(); ++i) {
        if (caseless) {
            const void* hit = std::memchr(text.data() + i, first, text.size() - pattern.size() + 1 - i);
            if (hit == nullptr)
                return std::string_view::npos;
            i = static_cast<std::size_t>(static_cast<const char*>(hit) - text.data());
        } else if (text[i] != firstUpper && text[i] != firstLower) {
            continue;
        }
        if (StartsWithNoCase(text.substr(i + 1), rest))
            return i;
    }
    return std::string_view::npos;
}

} // namespace stambrix::names
