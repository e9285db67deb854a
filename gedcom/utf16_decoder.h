#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace stambrix::gedcom {

/// Turns UTF-16 bytes, handed over in pieces of any size, into UTF-8. A code unit or a surrogate
/// pair split between two pieces is joined; an unpaired surrogate becomes U+FFFD.
class Utf16Decoder
{
public:
    explicit Utf16Decoder(bool bigEndian) : bigEndian_(bigEndian) {}

    /// Appends the UTF-8 of the complete characters in `bytes` (and any left from before) to `out`.
    void Decode(std::string_view bytes, std::string& out);

    /// Appends what is left at the end of the input: U+FFFD for a lone surrogate or odd byte.
    void Finish(std::string& out);

private:
    void Unit(std::uint16_t unit, std::string& out);

    bool bigEndian_;
    int pendingByte_ = -1;
    std::uint16_t pendingHighSurrogate_ = 0;
};

} // namespace stambrix::gedcom
