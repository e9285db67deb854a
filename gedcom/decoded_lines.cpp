#include "gedcom/decoded_lines.h"

namespace stambrix::gedcom {

DecodedLines::DecodedLines(ByteSource& source, std::size_t bufferSize, InputEnd inputEnd,
                           std::optional<DeclaredCharset> decidedElsewhere)
    : utf16_(source), reader_(utf16_, bufferSize, inputEnd)
{
    if (decidedElsewhere) {
        header_ = HeaderCharset(*decidedElsewhere);
        decoder_ = LineDecoderFor(*decidedElsewhere);
    }
}

// The decoder is chosen once, when the set is decided: the line that decides it is read as it stands.
void DecodedLines::Examine(std::string_view line)
{
    header_.Examine(line, utf16_.IsUtf16());
    if (header_.Decided())
        decoder_ = LineDecoderFor(header_.Declared());
}

} // namespace stambrix::gedcom
