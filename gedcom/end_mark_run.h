#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace stambrix::gedcom {

/// A run of bytes 26, CR and LF that the reader holds back while it looks ahead: when nothing but
/// such bytes follows a byte 26 up to the end of the input, that 26 ends the file (the end-of-file
/// mark of DOS editors); when anything else follows, the run is read as ordinary lines after all.
/// It is kept as the lines it makes, each as its number of bytes 26 and equal lines in a row as
/// one count, so that millions of line ends take a few bytes. LF, CR LF, LF CR and a lone CR each
/// end a line, as in the reader.
class EndMarkRun
{
public:
    /// The most counts held: a run that needs more is read as ordinary lines without looking
    /// further ahead, and 26 does not end the file there.
    static constexpr std::size_t kMaxCounts = 1 << 16;

    /// True for byte 26, CR and LF.
    static bool IsMark(char byte) { return byte == 26 || byte == '\r' || byte == '\n'; }

    /// Adds `marks` (bytes 26, CR and LF) to the run; how many it took: all of them, unless the run
    /// grows too varied to hold, and then it stops before the line end that would need one count
    /// more.
    std::size_t Add(std::string_view marks);

    /// True when nothing of the run is left to hand out.
    bool Empty() const { return !HasLine() && openMarks_ == 0; }
    /// True while a line ended within the run is still to be handed out.
    bool HasLine() const { return next_ < lines_.size(); }
    /// The number of bytes 26 in the next line ended within the run.
    std::uint64_t TakeLine();
    /// The number of bytes 26 after the run's last line end, with which the line after the run
    /// begins; empties the run.
    std::uint64_t TakeOpenLine();
    /// Empties the run.
    void Clear();

private:
    struct EqualLines
    {
        std::uint64_t marks; ///< bytes 26 in each line
        std::uint64_t count; ///< lines still to be handed out
    };

    std::vector<EqualLines> lines_;
    std::size_t next_ = 0;
    std::uint64_t openMarks_ = 0;
    char partner_ = '\0';
};

} // namespace stambrix::gedcom
