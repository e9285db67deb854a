#pragma once

#include "charsets/text_encoding.h"

#include <string_view>

namespace stambrix::gedcom {

/// The character set of a file as far as reading it goes: none declared, UTF-8 (a byte-order mark,
/// or «UTF-8» or «UTF8» in the CHAR line), ANSEL, «IBMPC» (code page 437), «MACINTOSH» (Mac OS
/// Roman), or anything else (read as windows-1252).
enum class DeclaredCharset
{
    None,
    Other,
    Utf8,
    Ansel,
    Ibmpc,
    Macintosh
};

/// What the bytes of index lines tell of their encoding.
struct Utf8Evidence
{
    bool beyondAscii = false; ///< some line holds a byte above 127
    bool illFormed = false;   ///< some line is not well-formed UTF-8

    /// Text that reads as UTF-8 and would not read the same as windows-1252.
    bool ReadsAsUtf8() const { return beyondAscii && !illFormed; }
    /// The evidence of these lines and `other` together.
    Utf8Evidence With(const Utf8Evidence& other) const
    {
        return {beyondAscii || other.beyondAscii, illFormed || other.illFormed};
    }
};

/// Decides the character set of a file from its first lines: UTF-8 when it begins with a byte-order
/// mark (UTF-8, or UTF-16, which is read as UTF-8), whatever a CHAR line says; otherwise the first
/// «1 CHAR» line of the header, its value in any case. The header is the lines before the first
/// record: it ends at the first level-0 line that is not «0 HEAD», so a file that begins with a
/// record has none, and a CHAR line in a record is text.
class HeaderCharset
{
public:
    HeaderCharset() = default;
    /// The set decided elsewhere, for a part of a file whose header lies elsewhere.
    explicit HeaderCharset(DeclaredCharset decided) : decided_(true), declared_(decided) {}

    /// Takes the next line of the file, from its first line on, as long as the set is not decided;
    /// `utf16` tells that the file is UTF-16, read as UTF-8.
    void Examine(std::string_view line, bool utf16);
    /// True once a mark or a CHAR line decided the set, or the header ended without either.
    bool Decided() const { return decided_; }
    DeclaredCharset Declared() const { return declared_; }

private:
    bool firstLine_ = true;
    bool decided_ = false;
    DeclaredCharset declared_ = DeclaredCharset::None;
};

/// The encoding of the index lines of a file in `declared`: UTF-8 when the file is UTF-8 by its mark
/// or its CHAR line; when its lines were converted as they were read and one held a character beyond
/// ASCII (`convertedBeyondAscii`; a file of nothing but ASCII reads the same as windows-1252 and is
/// left that way); when it declares nothing and its index lines read as UTF-8 (`undeclared`, as
/// GEDCOM 7 files do). Windows-1252 otherwise.
charsets::TextEncoding EncodingOf(DeclaredCharset declared, bool convertedBeyondAscii, const Utf8Evidence& undeclared);

} // namespace stambrix::gedcom
