#pragma once

#include "output/index_list.h"

#include <string_view>

namespace stambrix::scan {

/// True when `text` is well-formed UTF-8: no stray continuation byte, no cut-off sequence, no
/// overlong form, no surrogate, nothing above U+10FFFF.
bool IsWellFormedUtf8(std::string_view text);

/// True when some line holds a byte above 127 and every line is well-formed UTF-8: text that
/// reads as UTF-8 and could not be read the same way as windows-1252.
bool ReadsAsUtf8(const output::IndexList& lines);

} // namespace stambrix::scan
