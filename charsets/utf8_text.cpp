#include "charsets/utf8_text.h"

#include "charsets/windows_1252.h"
#include "text/utf8.h"

namespace stambrix::charsets {

namespace {
constexpr char32_t kReplacementCharacter = 0xFFFD;

void AppendWindows1252(std::string_view text, std::string& to)
{
    for (const char byte : text) {
        const auto unit = static_cast<unsigned char>(byte);
        if (unit < 0x80)
            to.push_back(byte);
        else
            text::AppendUtf8(to, Windows1252CharacterOf(unit));
    }
}

void AppendRepairedUtf8(std::string_view text, std::string& to)
{
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = text::SequenceLength(static_cast<unsigned char>(text[i]));
        const std::string_view sequence = text.substr(i, length);
        if (sequence.size() == length && (length > 1 || static_cast<unsigned char>(text[i]) < 0x80) &&
            text::IsWellFormedUtf8(sequence)) {
            to.append(sequence);
            i += length;
        } else {
            text::AppendUtf8(to, kReplacementCharacter);
            ++i;
        }
    }
}
} // namespace

void AppendAsUtf8(std::string_view text, TextEncoding encoding, std::string& to)
{
    if (encoding == TextEncoding::Windows1252)
        AppendWindows1252(text, to);
    else if (text::IsWellFormedUtf8(text))
        to.append(text);
    else
        AppendRepairedUtf8(text, to);
}

} // namespace stambrix::charsets
