#include "gedcom/end_mark_run.h"

#include <cassert>
#include <utility>

namespace stambrix::gedcom {

std::size_t EndMarkRun::Add(std::string_view marks)
{
    for (std::size_t i = 0; i < marks.size(); ++i) {
        const char byte = marks[i];
        assert(IsMark(byte));
        // The partner of the line end just passed belongs to it (CR LF, LF CR).
        if (byte == std::exchange(partner_, '\0'))
            continue;
        if (byte == 26) {
            ++openMarks_;
            continue;
        }
        if (lines_.empty() || lines_.back().marks != openMarks_) {
            if (lines_.size() == kMaxCounts)
                return i;
            lines_.push_back({openMarks_, 0});
        }
        ++lines_.back().count;
        openMarks_ = 0;
        partner_ = byte == '\r' ? '\n' : '\r';
    }
    return marks.size();
}

std::uint64_t EndMarkRun::TakeLine()
{
    assert(HasLine());
    const std::uint64_t marks = lines_[next_].marks;
    if (--lines_[next_].count == 0)
        ++next_;
    return marks;
}

std::uint64_t EndMarkRun::TakeOpenLine()
{
    const std::uint64_t marks = openMarks_;
    Clear();
    return marks;
}

void EndMarkRun::Clear()
{
    lines_.clear();
    next_ = 0;
    openMarks_ = 0;
    partner_ = '\0';
}

} // namespace stambrix::gedcom
