#pragma once

#include "charsets/text_encoding.h"

#include <string>
#include <string_view>

namespace stambrix::charsets {

/// Appends `text`, read in `encoding`, to `to` as well-formed UTF-8: windows-1252 converted byte by
/// byte (Windows1252CharacterOf), UTF-8 copied, each byte of it that begins no well-formed sequence
/// written as U+FFFD.
void AppendAsUtf8(std::string_view text, TextEncoding encoding, std::string& to);

} // namespace stambrix::charsets
