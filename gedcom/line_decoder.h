#pragma once

#include "charsets/high_half.h"
#include "gedcom/header_charset.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace stambrix::gedcom {

/// Turns the lines of a set of single bytes that is converted as it is read into UTF-8: a byte below
/// 128 stays, a byte above it becomes the character the set gives it, U+FFFD where the set has none.
/// In these sets a combining mark (ANSEL's diacritics) comes before the letter it belongs to; here
/// the letter comes first and the marks follow, composed into one character where Unicode has one
/// (ANSEL's «E8 61» gives «ä»), the letter and the combining mark where it has none. Marks with no
/// letter after them on the line stand on their own.
class LineDecoder
{
public:
    explicit LineDecoder(const charsets::HighHalf& characters);
    ~LineDecoder();
    LineDecoder(LineDecoder&&) noexcept;
    LineDecoder& operator=(LineDecoder&&) noexcept;

    /// The UTF-8 form of `line`; a line of ASCII comes back as it is. Valid until the next call.
    std::string_view Decode(std::string_view line);

    /// True once a line held a byte above 127.
    bool SawNonAscii() const { return sawNonAscii_; }

private:
    struct Composer;

    char32_t CharacterOf(unsigned char byte) const { return byte < 0x80 ? byte : (*characters_)[byte - 0x80]; }
    bool IsMark(unsigned char byte) const { return byte >= 0x80 && marks_[byte - 0x80]; }

    const charsets::HighHalf* characters_;
    std::array<bool, 128> marks_{}; // the bytes that stand for a combining mark
    std::unique_ptr<Composer> composer_;
    std::string out_;
    bool sawNonAscii_ = false;
};

/// The decoder of the lines of a file in `declared` when that is a set converted as it is read;
/// nothing for the sets whose bytes are read as they stand: UTF-8, and windows-1252 for the rest.
std::optional<LineDecoder> LineDecoderFor(DeclaredCharset declared);

} // namespace stambrix::gedcom
