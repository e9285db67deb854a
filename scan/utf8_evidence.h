#pragma once

#include "scan/index_list.h"

namespace stambrix::scan {

/// What the bytes of index lines tell of their encoding.
struct Utf8Evidence
{
    bool beyondAscii = false; ///< some line holds a byte above 127
    bool illFormed = false;   ///< some line is not well-formed UTF-8

    /// Text that reads as UTF-8 and would not read the same as windows-1252.
    bool ReadsAsUtf8() const { return beyondAscii && !illFormed; }
    /// The evidence of these lines and `other` together.
    Utf8Evidence With(const Utf8Evidence& other) const
    {
        return {beyondAscii || other.beyondAscii, illFormed || other.illFormed};
    }
};

Utf8Evidence Utf8EvidenceOf(const IndexList& lines);

} // namespace stambrix::scan
