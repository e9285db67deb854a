#include "text/ascii.h"

#include <cstring>

namespace stambrix::text {

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

void BlankControls(std::string& text)
{
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 32 || c == 127)
            c = ' ';
}

std::size_t FindNoCase(std::string_view text, std::string_view pattern, std::size_t from)
{
    if (pattern.empty())
        return from <= text.size() ? from : std::string_view::npos;
    if (from > text.size() || pattern.size() > text.size() - from)
        return std::string_view::npos;
    const std::string_view rest = pattern.substr(1);
    const std::size_t last = text.size() - pattern.size();
    const char first = pattern.front();
    if (ToUpperAscii(first) == ToLowerAscii(first)) {
        // Markers and tags mostly begin with a digit, a blank or "@": memchr finds the candidates.
        const char* const begin = text.data();
        for (const char* at = begin + from;
             (at = static_cast<const char*>(std::memchr(at, first, last + 1 - static_cast<std::size_t>(at - begin)))) !=
             nullptr;
             ++at) {
            if (StartsWithNoCase(std::string_view(at + 1, rest.size()), rest))
                return static_cast<std::size_t>(at - begin);
            if (at == begin + last)
                break;
        }
        return std::string_view::npos;
    }
    // For a letter, setting bit 5 folds both cases together and folds no other byte onto it.
    const char lower = ToLowerAscii(first);
    for (std::size_t i = from; i <= last; ++i)
        if (static_cast<char>(text[i] | 0x20) == lower && StartsWithNoCase(text.substr(i + 1), rest))
            return i;
    return std::string_view::npos;
}

} // namespace stambrix::text
