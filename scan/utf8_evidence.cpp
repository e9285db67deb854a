#include "scan/utf8_evidence.h"

#include "text/utf8.h"

#include <algorithm>

namespace stambrix::scan {

Utf8Evidence Utf8EvidenceOf(const IndexList& lines)
{
    Utf8Evidence evidence;
    for (const std::string_view line : lines) {
        if (std::all_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
            continue;
        evidence.beyondAscii = true;
        if (!text::IsWellFormedUtf8(line)) {
            evidence.illFormed = true;
            break;
        }
    }
    return evidence;
}

} // namespace stambrix::scan
