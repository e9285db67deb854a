#include "charsets/base_letter.h"

#include "charsets/windows_1252.h"
#include "text/ascii.h"

#include <unicode/unorm2.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <cstdint>

namespace stambrix::charsets {

namespace {
// Negative for an ill-formed UTF-8 sequence.
UChar32 FirstCharacterOf(std::string_view text, TextEncoding encoding)
{
    if (encoding == TextEncoding::Windows1252)
        return Windows1252CharacterOf(static_cast<unsigned char>(text.front()));
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto length = static_cast<std::int32_t>(text.size());
    std::int32_t at = 0;
    UChar32 character;
    U8_NEXT(bytes, at, length, character);
    return character;
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

char AsciiLetterOf(UChar32 character)
{
    if (character > 0x7F)
        return '\0';
    const char letter = text::ToLowerAscii(static_cast<char>(character));
    return letter >= 'a' && letter <= 'z' ? letter : '\0';
}
} // namespace

char ExtraBaseOf(char32_t character)
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

char BaseLetterOf(std::string_view text, TextEncoding encoding)
{
    if (text.empty())
        return '\0';
    // Most text begins with a plain letter: no decoding needed.
    if (static_cast<unsigned char>(text.front()) < 0x80)
        return AsciiLetterOf(text.front());
    const UChar32 character = FirstCharacterOf(text, encoding);
    if (character < 0)
        return '\0';
    if (const char extra = ExtraBaseOf(static_cast<char32_t>(character)))
        return extra;
    return AsciiLetterOf(DecomposedBaseOf(character));
}

} // namespace stambrix::charsets
