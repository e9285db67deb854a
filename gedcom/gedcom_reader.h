#pragma once

#include "gedcom/byte_source.h"
#include "gedcom/end_mark_run.h"
#include "gedcom/line_buffer.h"

#include <cstddef>
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
/// byte comes through unchanged, a UTF-8 byte-order mark too. Byte 26 ends the file only where
/// nothing but bytes 26, CR and LF follow it to the end of the input (the end-of-file mark of DOS
/// editors; see EndMarkRun); anywhere else it is an ordinary byte. A line keeps at most
/// kMaxLineLength bytes: the rest of a longer line is read and dropped, so memory stays bounded
/// whatever the input, even one without end. A file in UTF-16 comes as UTF-8 from a Utf16Source.
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

private:
    /// The next block, with `ordinaryUntil_` set for it; false at the end of the input.
    bool Refill();
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
    const char* data_; // the bytes of the block, which stays where it is
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
    bool sourceEnded_ = false;
    bool ended_ = false;
    bool stoppedAtMarker_ = false;
};

} // namespace stambrix::gedcom
