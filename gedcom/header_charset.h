#pragma once

#include <string_view>

namespace stambrix::gedcom {

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
/// The header is the lines before the first record: it ends at the first level-0 line that is not
/// «0 HEAD», so a file that begins with a record has none, and a CHAR line in a record is text.
class HeaderCharset
{
public:
    /// Takes the next line of the file, from its first line on (a UTF-8 byte-order mark in front of
    /// it is passed over).
    void Examine(std::string_view line);
    DeclaredCharset Declared() const { return declared_; }
    bool Ended() const { return ended_; }

private:
    bool firstLine_ = true;
    bool ended_ = false;
    DeclaredCharset declared_ = DeclaredCharset::None;
};

} // namespace stambrix::gedcom
