#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace stambrix::progress {

/// Puts `prefix` and `count` in decimal in `text` ("gelezen : 12"), reusing its memory: a run
/// shows a count for every record and every entry.
void AssignCountText(std::string& text, std::string_view prefix, std::uint64_t count);

} // namespace stambrix::progress
