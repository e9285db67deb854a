#include "scan/gedcom_reader.h"

#include <algorithm>
#include <cassert>
#include <cstdint>
#include <cstring>

namespace stambrix::scan {

namespace {
constexpr char kEndOfFile = 26;

bool IsLineBreak(unsigned char byte)
{
    return byte == '\n' || byte == '\r' || byte == kEndOfFile;
}

// Eight bytes at a time: only a word holding a byte below 27 can hold a line break, and text has
// few of those (a tab now and then).
const char* FindLineBreak(const char* begin, const char* end)
{
    constexpr std::uint64_t kOnes = 0x0101010101010101;
    constexpr std::uint64_t kHighBits = 0x8080808080808080;
    const char* p = begin;
    for (; end - p >= 8; p += 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        if (((word - kOnes * 27) & ~word & kHighBits) == 0)
            continue;
        for (int i = 0; i < 8; ++i)
            if (IsLineBreak(static_cast<unsigned char>(p[i])))
                return p + i;
    }
    for (; p != end; ++p)
        if (IsLineBreak(static_cast<unsigned char>(*p)))
            return p;
    return end;
}

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}
} // namespace

GedcomReader::GedcomReader(ByteSource& source, std::size_t bufferSize)
    : source_(source), block_(std::max<std::size_t>(bufferSize, 1))
{
}

std::size_t GedcomReader::ReadBlock()
{
    if (sourceEnded_)
        return 0;
    const std::size_t count = source_.Read(block_.data(), block_.size());
    sourceEnded_ = count == 0;
    return count;
}

// The byte-order mark, or the zero bytes of UTF-16 without one, decide how every later block is
// taken, so at least four bytes are read before anything is handed out, whatever the block size.
void GedcomReader::ReadFirstBlock()
{
    started_ = true;
    std::string head;
    while (head.size() < 4) {
        const std::size_t count = ReadBlock();
        if (count == 0)
            break;
        head.append(block_.data(), count);
    }
    bool littleEndian = StartsWith(head, "\xFF\xFE");
    bool bigEndian = StartsWith(head, "\xFE\xFF");
    std::size_t markSize = littleEndian || bigEndian ? 2 : 0;
    if (markSize == 0 && head.size() >= 4) {
        // Text begins with a level number or a blank: in UTF-16 every other byte is zero.
        littleEndian = head[0] != '\0' && head[1] == '\0' && head[2] != '\0' && head[3] == '\0';
        bigEndian = head[0] == '\0' && head[1] != '\0' && head[2] == '\0' && head[3] != '\0';
    }
    decoded_.clear();
    if (littleEndian || bigEndian) {
        utf16_.emplace(bigEndian);
        utf16_->Decode(std::string_view(head).substr(markSize), decoded_);
        unicodeMark_ = true;
    } else {
        decoded_ = std::move(head);
        unicodeMark_ = StartsWith(decoded_, "\xEF\xBB\xBF");
    }
}

bool GedcomReader::Refill()
{
    assert(pos_ == size_);
    pos_ = 0;
    size_ = 0;
    if (!started_) {
        ReadFirstBlock();
        if (!decoded_.empty() || sourceEnded_) {
            if (sourceEnded_ && utf16_)
                utf16_->Finish(decoded_);
            data_ = decoded_.data();
            size_ = decoded_.size();
            if (size_ != 0)
                return true;
        }
    }
    while (size_ == 0) {
        const std::size_t count = ReadBlock();
        if (!utf16_) {
            data_ = block_.data();
            size_ = count;
            return count != 0;
        }
        decoded_.clear();
        if (count == 0)
            utf16_->Finish(decoded_);
        else
            utf16_->Decode(std::string_view(block_.data(), count), decoded_);
        data_ = decoded_.data();
        size_ = decoded_.size();
        if (count == 0)
            return size_ != 0;
    }
    return true;
}

bool GedcomReader::ReadLine(std::string_view& line)
{
    line = {};
    if (ended_)
        return false;
    carry_.Clear();
    bool inCarry = false;
    for (;;) {
        if (pos_ == size_ && !Refill()) {
            ended_ = true;
            if (inCarry)
                line = carry_.View();
            return inCarry;
        }
        const char* begin = data_ + pos_;
        const char* end = data_ + size_;
        const char* lineBreak = FindLineBreak(begin, end);
        if (lineBreak == end) {
            carry_.Append(std::string_view(begin, static_cast<std::size_t>(end - begin)));
            inCarry = true;
            pos_ = size_;
            continue;
        }
        std::string_view segment(begin, static_cast<std::size_t>(lineBreak - begin));
        pos_ = static_cast<std::size_t>(lineBreak - data_) + 1;
        const char terminator = *lineBreak;
        if (terminator == kEndOfFile) {
            ended_ = true;
            stoppedAtMarker_ = true;
            if (!inCarry && segment.empty())
                return false;
        } else {
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
        }
        if (!inCarry) {
            line = segment;
            return true;
        }
        carry_.Append(segment);
        line = carry_.View();
        return true;
    }
}

} // namespace stambrix::scan
