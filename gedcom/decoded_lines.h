#pragma once

#include "gedcom/byte_source.h"
#include "gedcom/gedcom_reader.h"
#include "gedcom/header_charset.h"
#include "gedcom/line_decoder.h"
#include "gedcom/utf16_source.h"

#include <cstddef>
#include <optional>
#include <string_view>

namespace stambrix::gedcom {

/// The lines of a GEDCOM file as the index takes them: UTF-16 converted to UTF-8 (Utf16Source),
/// split by the reader, the character set decided as the first lines come by (HeaderCharset), and
/// from the line after that decision on, the lines of a set that is converted as it is read turned
/// into UTF-8 (LineDecoderFor).
class DecodedLines
{
public:
    /// `decidedElsewhere`: the character set of a part of a file whose header lies elsewhere; its
    /// lines are decoded from the first on.
    explicit DecodedLines(ByteSource& source, std::size_t bufferSize = kReadBufferSize,
                          InputEnd inputEnd = InputEnd::EndOfFile,
                          std::optional<DeclaredCharset> decidedElsewhere = std::nullopt);

    /// The next line, as GedcomReader::ReadLine gives it, decoded. The view stays valid until the
    /// next call.
    bool ReadLine(std::string_view& line)
    {
        if (!reader_.ReadLine(line))
            return false;
        if (decoder_)
            line = decoder_->Decode(line);
        if (!header_.Decided())
            Examine(line);
        return true;
    }

    /// True once the character set is decided (see HeaderCharset).
    bool Decided() const { return header_.Decided(); }
    /// The character set as decided so far: None until it is.
    DeclaredCharset Declared() const { return header_.Declared(); }
    /// True when the file is UTF-16 (known once the first line has been asked for).
    bool IsUtf16() const { return utf16_.IsUtf16(); }
    /// True when lines were converted from their set and one of them held a character beyond ASCII.
    bool ConvertedBeyondAscii() const { return decoder_ && decoder_->SawNonAscii(); }

private:
    void Examine(std::string_view line);

    Utf16Source utf16_;
    GedcomReader reader_;
    HeaderCharset header_;
    std::optional<LineDecoder> decoder_;
};

} // namespace stambrix::gedcom
