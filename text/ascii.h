#pragma once

#include <string>
#include <string_view>

// Text rules of the index: case folding touches only A-Z and a-z, trimming removes the
// characters with codes 0 to 32. Bytes above 127 are never changed, whatever their encoding.
namespace stambrix::text {

constexpr bool IsAsciiDigit(char c)
{
    return c >= '0' && c <= '9';
}

constexpr char ToUpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

constexpr char ToLowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

/// `text` with A-Z folded to a-z.
std::string ToLowerAscii(std::string_view text);

/// `text` without the characters with codes 0 to 32 at either end.
std::string_view Trim(std::string_view text);

/// Turns every control character of `text` (codes 0 to 31 and 127) into one blank, so that no
/// value can add a field or break a line of the index.
void BlankControls(std::string& text);

/// True when `text` begins with `prefix`, A-Z and a-z taken as equal.
inline bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (prefix.size() > text.size())
        return false;
    for (std::size_t i = 0; i < prefix.size(); ++i)
        if (ToUpperAscii(text[i]) != ToUpperAscii(prefix[i]))
            return false;
    return true;
}

/// True when `a` and `b` are equal with A-Z and a-z taken as equal.
inline bool EqualsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && StartsWithNoCase(a, b);
}

/// Position of the first occurrence of `pattern` in `text` at or after `from`, A-Z and a-z taken
/// as equal; npos when there is none. An empty pattern is found at `from`.
std::size_t FindNoCase(std::string_view text, std::string_view pattern, std::size_t from = 0);

} // namespace stambrix::text
