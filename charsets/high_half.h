#pragma once

#include <array>

namespace stambrix::charsets {

/// A set of single bytes whose bytes below 0x80 are ASCII, by the Unicode characters of its bytes
/// 0x80-0xFF; 0 for a byte the set has no character for.
using HighHalf = std::array<char32_t, 128>;

} // namespace stambrix::charsets
