#pragma once

#include "charsets/text_encoding.h"

#include <string_view>

namespace stambrix::charsets {

/// The plain letter of a Latin letter without a canonical decomposition that is filed under one all
/// the same: Æ a, Ø o, Œ o, ß s, Ł l, Đ d, Ð d, Þ t, ı i, in either case; '\0' for any other character.
char ExtraBaseOf(char32_t character);

/// The base letter of the first character of `text` (a byte in windows-1252, a whole character in
/// UTF-8), "a" to "z": that letter in either case, the letter the canonical decomposition of a Latin
/// letter begins with (É e, Ÿ y), and for Æ a, Ø o, Œ o, ß s, Ł l, Đ d, Ð d, Þ t, ı i. '\0' for
/// anything else: empty text, any other character, an ill-formed UTF-8 sequence.
char BaseLetterOf(std::string_view text, TextEncoding encoding);

} // namespace stambrix::charsets
