#include "index/collation_text.h"

#include "charsets/windows_1252.h"

#include <unicode/ustring.h>

namespace stambrix::index {

std::span<const UChar> CollationText::Of(std::string_view line, charsets::TextEncoding encoding)
{
    // UTF-8 never takes more units than bytes; one more keeps the buffer of an empty line non-empty.
    if (decoded_.size() < line.size() + 1)
        decoded_.resize(line.size() + 1);
    if (encoding == charsets::TextEncoding::Windows1252) {
        UChar* unit = decoded_.data();
        for (const char c : line)
            *unit++ = charsets::Windows1252CharacterOf(static_cast<unsigned char>(c));
        return {decoded_.data(), line.size()};
    }
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(decoded_.data(), static_cast<int32_t>(decoded_.size()), &length, line.data(),
                         static_cast<int32_t>(line.size()), 0xFFFD, nullptr, &status);
    return {decoded_.data(), static_cast<std::size_t>(length)};
}

} // namespace stambrix::index
