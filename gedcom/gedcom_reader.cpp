#include "gedcom/gedcom_reader.h"

#include "text/line_limit.h"

#include <algorithm>
#include <bit>
#include <cassert>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace stambrix::gedcom {

namespace {
constexpr char kEndOfFile = 26;

bool IsLineBreak(unsigned char byte)
{
    return byte == '\n' || byte == '\r' || byte == kEndOfFile;
}

// Sixteen bytes at a time where the processor compares that many at once.
const char* FindLineBreak(const char* begin, const char* end)
{
    const char* p = begin;
#if defined(__SSE2__)
    const __m128i newLine = _mm_set1_epi8('\n');
    const __m128i carriageReturn = _mm_set1_epi8('\r');
    const __m128i endOfFile = _mm_set1_epi8(kEndOfFile);
    for (; end - p >= 16; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i breaks =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(bytes, newLine), _mm_cmpeq_epi8(bytes, carriageReturn)),
                         _mm_cmpeq_epi8(bytes, endOfFile));
        const auto mask = static_cast<unsigned>(_mm_movemask_epi8(breaks));
        if (mask != 0)
            return p + std::countr_zero(mask);
    }
#endif
    for (; p != end; ++p)
        if (IsLineBreak(static_cast<unsigned char>(*p)))
            return p;
    return end;
}

const char* FirstNonMark(const char* begin, const char* end)
{
    while (begin != end && EndMarkRun::IsMark(*begin))
        ++begin;
    return begin;
}
} // namespace

GedcomReader::GedcomReader(ByteSource& source, std::size_t bufferSize, InputEnd inputEnd)
    : source_(source), inputEnd_(inputEnd), block_(std::max<std::size_t>(bufferSize, 1)), data_(block_.data()),
      carry_(text::kMaxLineLength)
{
}

bool GedcomReader::Refill()
{
    assert(pos_ == size_);
    pos_ = 0;
    size_ = sourceEnded_ ? 0 : source_.Read(block_.data(), block_.size());
    sourceEnded_ = size_ == 0;
    if (sourceEnded_)
        return false;
    ordinaryUntil_ = 0;
    if (ordinaryPastData_) {
        ordinaryUntil_ = static_cast<std::size_t>(FirstNonMark(data_, data_ + size_) - data_);
        ordinaryPastData_ = ordinaryUntil_ == size_;
    }
    return true;
}

// A byte 26 after which the data holds more than bytes 26, CR and LF cannot end the file; the
// position of that other byte is kept, so a long run of such bytes is looked through once.
const char* GedcomReader::PastOrdinaryEndMarks(const char* endMark)
{
    const char* end = data_ + size_;
    while (endMark != end && *endMark == kEndOfFile) {
        if (endMark >= data_ + ordinaryUntil_) {
            const char* text = FirstNonMark(endMark + 1, end);
            if (text == end)
                return endMark;
            ordinaryUntil_ = static_cast<std::size_t>(text - data_);
        }
        endMark = FindLineBreak(endMark + 1, end);
    }
    return endMark;
}

// The run from `endMark` on is held back and the input read on until something other than bytes
// 26, CR and LF turns up (reading then goes on there) or the input ends.
bool GedcomReader::EndsInputAt(const char* endMark)
{
    heldBack_.Clear();
    std::string_view marks(endMark, static_cast<std::size_t>(data_ + size_ - endMark));
    for (;;) {
        const std::size_t taken = heldBack_.Add(marks);
        pos_ = static_cast<std::size_t>(marks.data() - data_) + taken;
        if (taken < marks.size()) {
            // Too varied to hold: the rest of the run is read as ordinary lines.
            ordinaryUntil_ = static_cast<std::size_t>(FirstNonMark(data_ + pos_, data_ + size_) - data_);
            ordinaryPastData_ = ordinaryUntil_ == size_;
            return false;
        }
        if (pos_ < size_)
            return false;
        if (!Refill())
            return inputEnd_ == InputEnd::EndOfFile;
        marks = std::string_view(data_, static_cast<std::size_t>(FirstNonMark(data_, data_ + size_) - data_));
    }
}

bool GedcomReader::TakeHeldBackLine()
{
    const auto marks = [](std::uint64_t count) {
        return static_cast<std::size_t>(std::min<std::uint64_t>(count, text::kMaxLineLength));
    };
    const bool ended = heldBack_.HasLine();
    carry_.AppendRepeated(kEndOfFile, marks(ended ? heldBack_.TakeLine() : heldBack_.TakeOpenLine()));
    holdingBack_ = !heldBack_.Empty();
    return ended;
}

bool GedcomReader::ReadLine(std::string_view& line)
{
    line = {};
    if (ended_)
        return false;
    carry_.Clear();
    bool inCarry = false;
    if (holdingBack_) {
        inCarry = true;
        if (TakeHeldBackLine()) {
            line = carry_.View();
            return true;
        }
    }
    for (;;) {
        if (pos_ == size_ && !Refill()) {
            ended_ = true;
            if (inCarry)
                line = carry_.View();
            return inCarry;
        }
        const char* begin = data_ + pos_;
        const char* end = data_ + size_;
        const char* lineEnd = FindLineBreak(begin, end);
        if (lineEnd != end && *lineEnd == kEndOfFile)
            lineEnd = PastOrdinaryEndMarks(lineEnd);
        if (lineEnd == end) {
            carry_.Append(std::string_view(begin, static_cast<std::size_t>(end - begin)));
            inCarry = true;
            pos_ = size_;
            continue;
        }
        std::string_view segment(begin, static_cast<std::size_t>(lineEnd - begin));
        pos_ = static_cast<std::size_t>(lineEnd - data_) + 1;
        const char terminator = *lineEnd;
        if (terminator == kEndOfFile) {
            carry_.Append(segment);
            inCarry = true;
            if (EndsInputAt(lineEnd)) {
                heldBack_.Clear();
                ended_ = true;
                stoppedAtMarker_ = true;
                line = carry_.View();
                return !line.empty();
            }
            // Not the end after all: the run held back goes on with this line.
            if (TakeHeldBackLine()) {
                line = carry_.View();
                return true;
            }
            continue;
        }
        const char partner = terminator == '\r' ? '\n' : '\r';
        if (pos_ == size_) {
            // The partner of this line end, if any, is the first byte of the next block.
            carry_.Append(segment);
            inCarry = true;
            segment = {};
            if (Refill() && data_[0] == partner)
                pos_ = 1;
        } else if (data_[pos_] == partner) {
            ++pos_;
        }
        if (!inCarry) {
            line = std::string_view(segment.data(), std::min(segment.size(), text::kMaxLineLength));
            return true;
        }
        carry_.Append(segment);
        line = carry_.View();
        return true;
    }
}

} // namespace stambrix::gedcom
