#include "gedcom/utf16_source.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace stambrix::gedcom {

// The byte-order mark, or the zero bytes of UTF-16 without one, decide how every later byte is
// taken, so four bytes are read before anything is handed out, whatever the size asked for.
void Utf16Source::ReadHead()
{
    started_ = true;
    char head[4];
    std::size_t count = 0;
    while (count < sizeof head && !sourceEnded_) {
        const std::size_t got = source_.Read(head + count, sizeof head - count);
        sourceEnded_ = got == 0;
        count += got;
    }
    const std::string_view bytes(head, count);
    bool littleEndian = bytes.starts_with("\xFF\xFE");
    bool bigEndian = bytes.starts_with("\xFE\xFF");
    const std::size_t markSize = littleEndian || bigEndian ? 2 : 0;
    if (markSize == 0 && count == sizeof head) {
        // Text begins with a level number or a blank: in UTF-16 every other byte is zero.
        littleEndian = head[0] != '\0' && head[1] == '\0' && head[2] != '\0' && head[3] == '\0';
        bigEndian = head[0] == '\0' && head[1] != '\0' && head[2] == '\0' && head[3] != '\0';
    }
    if (!littleEndian && !bigEndian) {
        pending_.assign(bytes);
        return;
    }
    decoder_.emplace(bigEndian);
    decoder_->Decode(bytes.substr(markSize), pending_);
    if (sourceEnded_)
        decoder_->Finish(pending_);
}

void Utf16Source::Convert(std::size_t size)
{
    raw_.resize(std::max({size, raw_.size(), std::size_t{1}}));
    pending_.clear();
    handedOut_ = 0;
    while (pending_.empty() && !sourceEnded_) {
        const std::size_t count = source_.Read(raw_.data(), raw_.size());
        sourceEnded_ = count == 0;
        if (sourceEnded_)
            decoder_->Finish(pending_);
        else
            decoder_->Decode(std::string_view(raw_.data(), count), pending_);
    }
}

std::size_t Utf16Source::Read(char* buffer, std::size_t size)
{
    if (!started_)
        ReadHead();
    if (handedOut_ == pending_.size()) {
        if (!decoder_) {
            const std::size_t count = sourceEnded_ ? 0 : source_.Read(buffer, size);
            sourceEnded_ = count == 0;
            return count;
        }
        Convert(size);
    }
    const std::size_t count = std::min(size, pending_.size() - handedOut_);
    std::memcpy(buffer, pending_.data() + handedOut_, count);
    handedOut_ += count;
    return count;
}

} // namespace stambrix::gedcom
