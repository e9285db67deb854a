#include "output/source_date_epoch.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>

namespace stambrix::output {

std::optional<std::string> SourceDateEpochText()
{
    const char* value = std::getenv("SOURCE_DATE_EPOCH");
    if (value == nullptr || *value == '\0')
        return std::nullopt;
    return std::string(value);
}

std::optional<std::time_t> SourceDateEpochMoment(std::string_view text)
{
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    long long seconds = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seconds);
    if (error != std::errc() || end != text.data() + text.size() || seconds > kLastSourceDateEpoch)
        return std::nullopt;
    return static_cast<std::time_t>(seconds);
}

std::tm DateOfRun()
{
    std::tm date{};
    const std::optional<std::string> epoch = SourceDateEpochText();
    const std::optional<std::time_t> moment = epoch ? SourceDateEpochMoment(*epoch) : std::nullopt;
    const std::time_t now = moment ? *moment : std::time(nullptr);
#ifdef _WIN32
    if (moment)
        gmtime_s(&date, &now);
    else
        localtime_s(&date, &now);
#else
    if (moment)
        gmtime_r(&now, &date);
    else
        localtime_r(&now, &date);
#endif
    return date;
}

} // namespace stambrix::output
