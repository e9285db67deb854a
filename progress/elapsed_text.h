#pragma once

#include <cstdint>
#include <string>

namespace stambrix::progress {

/// The decimal digits of `n` brought to exactly `width`: zeros put in front of a shorter number,
/// only the last `width` digits kept of a longer one (ZeroPad(123, 2) is "23").
std::string ZeroPad(std::uint64_t n, std::size_t width);

/// "dd:uu:mm:ss" for a duration in milliseconds; the remaining milliseconds are dropped.
std::string ElapsedText(std::uint32_t milliseconds);

} // namespace stambrix::progress
