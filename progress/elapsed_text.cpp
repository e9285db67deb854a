#include "progress/elapsed_text.h"

namespace stambrix::progress {

std::string ZeroPad(std::uint64_t n, std::size_t width)
{
    std::string digits = std::to_string(n);
    if (digits.size() < width)
        return std::string(width - digits.size(), '0') + digits;
    return digits.substr(digits.size() - width);
}

std::string ElapsedText(std::uint32_t milliseconds)
{
    constexpr std::uint32_t kDay = 86'400'000;
    constexpr std::uint32_t kHour = 3'600'000;
    constexpr std::uint32_t kMinute = 60'000;
    const std::uint32_t days = milliseconds / kDay;
    std::uint32_t rest = milliseconds % kDay;
    const std::uint32_t hours = rest / kHour;
    rest %= kHour;
    const std::uint32_t minutes = rest / kMinute;
    rest %= kMinute;
    const std::uint32_t seconds = rest / 1000;
    return ZeroPad(days, 2) + ":" + ZeroPad(hours, 2) + ":" + ZeroPad(minutes, 2) + ":" + ZeroPad(seconds, 2);
}

} // namespace stambrix::progress
