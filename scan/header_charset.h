#pragma once

#include <string_view>

namespace stambrix::scan {

/// The character set a file's header declares in its «1 CHAR» line, as far as reading it goes:
/// none (no such line), UTF-8 («UTF-8» or «UTF8»), ANSEL, or anything else (read as
/// windows-1252). Any case.
enum class DeclaredCharset
{
    None,
    Other,
    Utf8,
    Ansel
};

/// Watches the lines of the file header for its character-set declaration; the first one counts.
/// The header ends at the second level-0 line.
class HeaderCharset
{
public:
    void Examine(std::string_view line);
    DeclaredCharset Declared() const { return declared_; }
    bool Ended() const { return levelZeroLines_ > 1; }

private:
    int levelZeroLines_ = 0;
    DeclaredCharset declared_ = DeclaredCharset::None;
};

} // namespace stambrix::scan
