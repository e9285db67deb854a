#pragma once

#include "gedcom/byte_source.h"
#include "gedcom/utf16_decoder.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace stambrix::gedcom {

/// The bytes of another source, UTF-16 converted to UTF-8 on the way: input that begins with a
/// byte-order mark of UTF-16 (the mark is dropped), and input without one whose first two
/// characters show the zero bytes of UTF-16 («0 » is 30 00 20 00 or 00 30 00 20). Any other input
/// passes unchanged, a UTF-8 byte-order mark included. A character split between two reads is
/// joined; an unpaired surrogate, and an odd byte at the end, become U+FFFD.
class Utf16Source final : public ByteSource
{
public:
    explicit Utf16Source(ByteSource& source) : source_(source) {}

    std::size_t Read(char* buffer, std::size_t size) override;

    /// True when the input is UTF-16 (known once the first bytes have been read).
    bool IsUtf16() const { return decoder_.has_value(); }

private:
    /// Reads the first four bytes (or all there are), which tell whether the input is UTF-16.
    void ReadHead();
    /// Converts the next bytes of the source, read `size` at a time, until some UTF-8 is made or
    /// the input ends.
    void Convert(std::size_t size);

    ByteSource& source_;
    std::optional<Utf16Decoder> decoder_;
    std::vector<char> raw_;     // UTF-16 bytes as read
    std::string pending_;       // bytes not handed out yet: the head, or converted text
    std::size_t handedOut_ = 0; // of `pending_`
    bool started_ = false;
    bool sourceEnded_ = false;
};

} // namespace stambrix::gedcom
