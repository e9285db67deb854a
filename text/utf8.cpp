#include "text/utf8.h"

#include <cstdint>
#include <cstring>

namespace stambrix::text {

namespace {
bool IsContinuation(unsigned char byte)
{
    return (byte & 0xC0) == 0x80;
}
} // namespace

std::size_t SequenceLength(unsigned char lead)
{
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    if (lead >= 0xE0)
        return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC2)
        return 2;
    return 1;
}

bool IsWellFormedUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        // Eight ASCII bytes at a time.
        std::uint64_t eight = 0;
        if (text.size() - i >= sizeof eight) {
            std::memcpy(&eight, text.data() + i, sizeof eight);
            if ((eight & 0x8080808080808080U) == 0) {
                i += sizeof eight;
                continue;
            }
        }
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        const std::size_t length = SequenceLength(lead);
        if (length == 1 || text.size() - i < length)
            return false;
        const auto second = static_cast<unsigned char>(text[i + 1]);
        // The second byte's range rules out overlong forms (E0, F0), surrogates (ED) and code
        // points above U+10FFFF (F4).
        const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
        const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
        if (second < low || second > high)
            return false;
        for (std::size_t k = 2; k < length; ++k)
            if (!IsContinuation(static_cast<unsigned char>(text[i + k])))
                return false;
        i += length;
    }
    return true;
}

void AppendUtf8(std::string& out, std::uint32_t codePoint)
{
    auto put = [&out](std::uint32_t byte) { out.push_back(static_cast<char>(byte)); };
    if (codePoint < 0x80) {
        put(codePoint);
    } else if (codePoint < 0x800) {
        put(0xC0 | (codePoint >> 6));
        put(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        put(0xE0 | (codePoint >> 12));
        put(0x80 | ((codePoint >> 6) & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    } else {
        put(0xF0 | (codePoint >> 18));
        put(0x80 | ((codePoint >> 12) & 0x3F));
        put(0x80 | ((codePoint >> 6) & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    }
}

} // namespace stambrix::text
