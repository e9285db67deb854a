#pragma once

#include "scan/byte_source.h"
#include "scan/line_buffer.h"
#include "scan/utf16_decoder.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stambrix::scan {

// Small enough that a block stays in the second-level cache while its lines are scanned.
inline constexpr std::size_t kReadBufferSize = 1 << 16;

/// Splits a GEDCOM file into lines. LF, CR LF, LF CR and a lone CR each end a line; byte 26 ends
/// the file; every other byte comes through unchanged. A UTF-16 file is converted to UTF-8 as it is
/// read: one that begins with a byte-order mark (the mark is dropped), and one without, recognised by
/// the zero bytes of its first two characters («0 » is 30 00 20 00 or 00 30 00 20). A UTF-8 mark is kept.
/// Lines have no length limit: a line is held whole only when it straddles two blocks.
class GedcomReader
{
public:
    explicit GedcomReader(ByteSource& source, std::size_t bufferSize = kReadBufferSize);

    /// The next line without its terminator; false (and an empty line) at the end of the input or
    /// at byte 26. The view stays valid until the next call.
    bool ReadLine(std::string_view& line);

    /// True when reading stopped at byte 26 rather than at the end of the input.
    bool StoppedAtEndMarker() const { return stoppedAtMarker_; }

    /// True when the input is UTF-16 or began with a UTF-8 byte-order mark, so the lines are UTF-8.
    bool IsUnicode() const { return unicodeMark_; }

    /// True when the input is UTF-16 (known once the first line has been asked for).
    bool IsUtf16() const { return utf16_.has_value(); }

private:
    bool Refill();
    void ReadFirstBlock();
    std::size_t ReadBlock();

    ByteSource& source_;
    std::vector<char> block_;
    std::string decoded_;
    std::optional<Utf16Decoder> utf16_;
    const char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t pos_ = 0;
    LineBuffer carry_;
    bool started_ = false;
    bool sourceEnded_ = false;
    bool ended_ = false;
    bool unicodeMark_ = false;
    bool stoppedAtMarker_ = false;
};

} // namespace stambrix::scan
