#include "scan/utf16_decoder.h"

namespace stambrix::scan {

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

void AppendUtf8(std::string& out, std::uint32_t codePoint)
{
    auto put = [&out](std::uint32_t byte) { out.push_back(static_cast<char>(byte)); };
    if (codePoint < 0x80) {
        put(codePoint);
    } else if (codePoint < 0x800) {
        put(0xC0 | (codePoint >> 6));
        put(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        put(0xE0 | (codePoint >> 12));
        put(0x80 | ((codePoint >> 6) & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    } else {
        put(0xF0 | (codePoint >> 18));
        put(0x80 | ((codePoint >> 12) & 0x3F));
        put(0x80 | ((codePoint >> 6) & 0x3F));
        put(0x80 | (codePoint & 0x3F));
    }
}

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
            AppendUtf8(out, 0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00u));
            return;
        }
        AppendUtf8(out, kReplacement);
    }
    if (IsHighSurrogate(unit))
        pendingHighSurrogate_ = unit;
    else
        AppendUtf8(out, IsLowSurrogate(unit) ? kReplacement : unit);
}

void Utf16Decoder::Finish(std::string& out)
{
    if (pendingHighSurrogate_ != 0 || pendingByte_ >= 0)
        AppendUtf8(out, kReplacement);
    pendingHighSurrogate_ = 0;
    pendingByte_ = -1;
}

} // namespace stambrix::scan
