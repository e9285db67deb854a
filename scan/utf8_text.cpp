#include "scan/utf8_text.h"

#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>

namespace stambrix::scan {

bool IsWellFormedUtf8(std::string_view text)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto length = static_cast<std::int32_t>(text.size());
    for (std::int32_t i = 0; i < length;) {
        if (bytes[i] < 0x80) {
            ++i;
            continue;
        }
        UChar32 character;
        U8_NEXT(bytes, i, length, character);
        if (character < 0)
            return false;
    }
    return true;
}

Utf8Evidence Utf8EvidenceOf(const output::IndexList& lines)
{
    Utf8Evidence evidence;
    for (const std::string_view line : lines) {
        if (std::all_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
            continue;
        evidence.beyondAscii = true;
        if (!IsWellFormedUtf8(line)) {
            evidence.illFormed = true;
            break;
        }
    }
    return evidence;
}

} // namespace stambrix::scan
