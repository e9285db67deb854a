#include "output/letter_pages.h"

#include "text/ascii.h"

#include <unicode/unorm2.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <cstdint>

namespace stambrix::output {

namespace {
// The code point of a windows-1252 byte; U_SENTINEL for the bytes 0x80 to 0x9F that stand for
// no letter with a base letter.
UChar32 CodePointOf(unsigned char byte)
{
    switch (byte) {
    case 0x8A:
        return 0x160; // Š
    case 0x8C:
        return 0x152; // Œ
    case 0x8E:
        return 0x17D; // Ž
    case 0x9A:
        return 0x161; // š
    case 0x9C:
        return 0x153; // œ
    case 0x9E:
        return 0x17E; // ž
    case 0x9F:
        return 0x178; // Ÿ
    default:
        return byte >= 0x80 && byte < 0xA0 ? U_SENTINEL : byte;
    }
}

UChar32 FirstCodePointOf(std::string_view text, bool utf8)
{
    if (!utf8)
        return CodePointOf(static_cast<unsigned char>(text.front()));
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto length = static_cast<std::int32_t>(text.size());
    std::int32_t at = 0;
    UChar32 character;
    U8_NEXT(bytes, at, length, character);
    return character;
}

// Letters without a canonical decomposition that are filed under a base letter all the same.
char ExtraBaseOf(UChar32 character)
{
    switch (character) {
    case 0xC6: // Æ
    case 0xE6: // æ
        return 'a';
    case 0xD8:  // Ø
    case 0xF8:  // ø
    case 0x152: // Œ
    case 0x153: // œ
        return 'o';
    case 0xDF: // ß
        return 's';
    case 0x141: // Ł
    case 0x142: // ł
        return 'l';
    case 0x110: // Đ
    case 0x111: // đ
    case 0xD0:  // Ð
    case 0xF0:  // ð
        return 'd';
    case 0xDE: // Þ
    case 0xFE: // þ
        return 't';
    case 0x131: // ı
        return 'i';
    default:
        return 0;
    }
}

// What remains of `character` after canonical decomposition, without its combining marks.
UChar32 DecomposedBaseOf(UChar32 character)
{
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* nfd = unorm2_getNFDInstance(&status);
    UChar decomposition[16];
    const std::int32_t length =
        U_SUCCESS(status) ? unorm2_getDecomposition(nfd, character, decomposition, 16, &status) : -1;
    if (U_FAILURE(status) || length <= 0)
        return character;
    UChar32 base;
    U16_GET(decomposition, 0, 0, length, base);
    return base;
}
} // namespace

bool SameHeading(std::string_view previous, std::string_view heading)
{
    return text::EqualsNoCase(text::Trim(previous), text::Trim(heading));
}

bool SameInitial(std::string_view previous, std::string_view heading, bool utf8)
{
    return text::EqualsNoCase(FirstCharacterOf(previous, utf8), FirstCharacterOf(heading, utf8));
}

char LetterOf(std::string_view heading, bool utf8)
{
    if (heading.empty())
        return kOtherPage;
    // Most headings begin with a plain letter: no decoding needed.
    if (static_cast<unsigned char>(heading.front()) < 0x80) {
        const char letter = text::ToLowerAscii(heading.front());
        return letter >= 'a' && letter <= 'z' ? letter : kOtherPage;
    }
    const UChar32 character = FirstCodePointOf(heading, utf8);
    if (character < 0)
        return kOtherPage;
    if (const char extra = ExtraBaseOf(character))
        return extra;
    const UChar32 base = DecomposedBaseOf(character);
    if (base > 0x7F)
        return kOtherPage;
    const char letter = text::ToLowerAscii(static_cast<char>(base));
    return letter >= 'a' && letter <= 'z' ? letter : kOtherPage;
}

} // namespace stambrix::output
