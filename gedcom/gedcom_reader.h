#pragma once

#include "gedcom/byte_source.h"
#include "gedcom/end_mark_run.h"
#include "gedcom/line_buffer.h"
#include "gedcom/utf16_decoder.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stambrix::gedcom {

// Small enough that a block stays in the second-level cache while its lines are scanned.
inline constexpr std::size_t kReadBufferSize = 1 << 16;

/// Whether the input the reader is given is all of the file or its first part, after which the
/// file goes on (the first half of a file read in two halves).
enum class InputEnd
{
    EndOfFile,
    FileGoesOn
};

/// Splits a GEDCOM file into lines. LF, CR LF, LF CR and a lone CR each end a line; every other
/// byte comes through unchanged. Byte 26 ends the file only where nothing but bytes 26, CR and LF
/// follow it to the end of the input (the end-of-file mark of DOS editors; see EndMarkRun);
/// anywhere else it is an ordinary byte. A line keeps at most kMaxLineLength bytes: the rest of a
/// longer line is read and dropped, so memory stays bounded whatever the input, even one without
/// end. A UTF-16 file is converted to UTF-8 as it is read: one that begins with a byte-order mark
/// (the mark is dropped), and one without, recognised by the zero bytes of its first two
/// characters («0 » is 30 00 20 00 or 00 30 00 20). A UTF-8 mark is kept.
class GedcomReader
{
public:
    explicit GedcomReader(ByteSource& source, std::size_t bufferSize = kReadBufferSize,
                          InputEnd inputEnd = InputEnd::EndOfFile);

    /// The next line without its terminator; false (and an empty line) at the end of the input or
    /// at the byte 26 that ends the file. The view stays valid until the next call.
    bool ReadLine(std::string_view& line);

    /// True when reading stopped at a byte 26 that ends the file rather than at the end of the input.
    bool StoppedAtEndMarker() const { return stoppedAtMarker_; }

    /// True when the input is UTF-16 or began with a UTF-8 byte-order mark, so the lines are UTF-8.
    bool IsUnicode() const { return unicodeMark_; }

    /// True when the input is UTF-16 (known once the first line has been asked for).
    bool IsUtf16() const { return utf16_.has_value(); }

private:
    /// The next data, with `ordinaryUntil_` set for it; false at the end of the input.
    bool Refill();
    bool NextData();
    void ReadFirstBlock();
    std::size_t ReadBlock();
    /// The first LF, CR, or byte 26 that may end the file, from the byte 26 at `endMark` on; the
    /// end of the data when there is none.
    const char* PastOrdinaryEndMarks(const char* endMark);
    /// True when the byte 26 at `endMark` ends the file: nothing but bytes 26, CR and LF follow it
    /// to the end of the input. Otherwise those bytes are in `heldBack_`, to be read as lines.
    bool EndsInputAt(const char* endMark);
    /// Appends the next line of `heldBack_` to the carry: true when it ended within the run, false
    /// when it goes on after it.
    bool TakeHeldBackLine();

    ByteSource& source_;
    InputEnd inputEnd_;
    std::vector<char> block_;
    std::string decoded_;
    std::optional<Utf16Decoder> utf16_;
    const char* data_ = nullptr;
    std::size_t size_ = 0;
    std::size_t pos_ = 0;
    // Bytes 26 before this position of the data are ordinary: a byte other than 26, CR or LF
    // follows them. With `ordinaryPastData_` that holds for the next data too, up to its first
    // such byte.
    std::size_t ordinaryUntil_ = 0;
    bool ordinaryPastData_ = false;
    LineBuffer carry_;
    EndMarkRun heldBack_;
    bool holdingBack_ = false; ///< lines of `heldBack_` are still to be handed out
    bool started_ = false;
    bool sourceEnded_ = false;
    bool ended_ = false;
    bool unicodeMark_ = false;
    bool stoppedAtMarker_ = false;
};

} // namespace stambrix::gedcom
