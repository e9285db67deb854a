#include "scan/utf8_evidence.h"

#include "text/utf8.h"

#include <algorithm>

namespace stambrix::scan {

gedcom::Utf8Evidence Utf8EvidenceOf(const index::IndexList& lines)
{
    gedcom::Utf8Evidence evidence;
    index::VisitLines(lines, [&](std::string_view line) {
        if (evidence.illFormed ||
            std::all_of(line.begin(), line.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
            return;
        evidence.beyondAscii = true;
        evidence.illFormed = !text::IsWellFormedUtf8(line);
    });
    return evidence;
}

} // namespace stambrix::scan
