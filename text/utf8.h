#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// UTF-8 as the index and the pages need it: checking, cutting at characters and encoding.
namespace stambrix::text {

/// True when `text` is well-formed UTF-8: no stray continuation byte, no cut-off sequence, no
/// overlong form, no surrogate, nothing above U+10FFFF.
bool IsWellFormedUtf8(std::string_view text);

/// The length of the UTF-8 sequence that a lead byte `lead` begins; 1 for a byte that begins none
/// (ASCII, a continuation byte, or a byte UTF-8 never uses).
std::size_t SequenceLength(unsigned char lead);

/// Appends the UTF-8 form of `codePoint` to `out`.
void AppendUtf8(std::string& out, std::uint32_t codePoint);

} // namespace stambrix::text
