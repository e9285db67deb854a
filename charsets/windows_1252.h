#pragma once

#include <array>

namespace stambrix::charsets {

/// The characters windows-1252 has at 0x80-0x9F; its five undefined bytes stand for the C1 controls
/// of the same value.
inline constexpr std::array<char16_t, 32> kWindows1252High{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

/// The Unicode character of a windows-1252 byte: kWindows1252High at 0x80-0x9F, elsewhere the
/// character of the byte's value.
constexpr char16_t Windows1252CharacterOf(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? kWindows1252High[byte - 0x80] : static_cast<char16_t>(byte);
}

} // namespace stambrix::charsets
