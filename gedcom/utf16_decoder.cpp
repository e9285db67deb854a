#include "gedcom/utf16_decoder.h"

#include "text/utf8.h"

namespace stambrix::gedcom {

namespace {
constexpr std::uint32_t kReplacement = 0xFFFD;

bool IsHighSurrogate(std::uint32_t unit)
{
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(std::uint32_t unit)
{
    return unit >= 0xDC00 && unit <= 0xDFFF;
}
} // namespace

void Utf16Decoder::Decode(std::string_view bytes, std::string& out)
{
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (pendingByte_ < 0) {
            pendingByte_ = byte;
            continue;
        }
        const auto first = static_cast<std::uint16_t>(pendingByte_);
        pendingByte_ = -1;
        Unit(bigEndian_ ? static_cast<std::uint16_t>(first << 8 | byte) : static_cast<std::uint16_t>(byte << 8 | first),
             out);
    }
}

void Utf16Decoder::Unit(std::uint16_t unit, std::string& out)
{
    if (pendingHighSurrogate_ != 0) {
        const std::uint32_t high = pendingHighSurrogate_;
        pendingHighSurrogate_ = 0;
        if (IsLowSurrogate(unit)) {
            text::AppendUtf8(out, 0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00u));
            return;
        }
        text::AppendUtf8(out, kReplacement);
    }
    if (IsHighSurrogate(unit))
        pendingHighSurrogate_ = unit;
    else
        text::AppendUtf8(out, IsLowSurrogate(unit) ? kReplacement : unit);
}

void Utf16Decoder::Finish(std::string& out)
{
    if (pendingHighSurrogate_ != 0 || pendingByte_ >= 0)
        text::AppendUtf8(out, kReplacement);
    pendingHighSurrogate_ = 0;
    pendingByte_ = -1;
}

} // namespace stambrix::gedcom
