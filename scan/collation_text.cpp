#include "scan/collation_text.h"

#include <unicode/ustring.h>

#include <cstdint>

namespace stambrix::scan {

namespace {
// windows-1252 0x80-0x9F; its five undefined bytes stand for the C1 controls of the same value.
constexpr std::uint16_t kWindows1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
} // namespace

std::span<const UChar> CollationText::Of(std::string_view line, TextEncoding encoding)
{
    // UTF-8 never takes more units than bytes; one more keeps the buffer of an empty line non-empty.
    if (decoded_.size() < line.size() + 1)
        decoded_.resize(line.size() + 1);
    if (encoding == TextEncoding::Windows1252) {
        UChar* unit = decoded_.data();
        for (const char c : line) {
            const auto byte = static_cast<unsigned char>(c);
            *unit++ = byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : byte;
        }
        return {decoded_.data(), line.size()};
    }
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8WithSub(decoded_.data(), static_cast<int32_t>(decoded_.size()), &length, line.data(),
                         static_cast<int32_t>(line.size()), 0xFFFD, nullptr, &status);
    return {decoded_.data(), static_cast<std::size_t>(length)};
}

} // namespace stambrix::scan
