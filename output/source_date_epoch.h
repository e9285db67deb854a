#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>

namespace stambrix::output {

/// The latest moment SOURCE_DATE_EPOCH may name: 31-12-9999 23:59:59 UTC, the last a four-digit
/// year holds.
inline constexpr long long kLastSourceDateEpoch = 253402300799;

/// The value of SOURCE_DATE_EPOCH; nothing when it is not set or empty.
std::optional<std::string> SourceDateEpochText();

/// `text` as a moment: a whole number of seconds from 0 to kLastSourceDateEpoch, decimal digits only;
/// nothing for anything else.
std::optional<std::time_t> SourceDateEpochMoment(std::string_view text);

/// The date of this run: the UTC date of SOURCE_DATE_EPOCH when it names a moment, else today's
/// local date.
std::tm DateOfRun();

} // namespace stambrix::output
