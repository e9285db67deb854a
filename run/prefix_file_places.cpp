#include "run/prefix_file_places.h"

#include "text/run_failure.h"

#include <cstdlib>
#include <string_view>
#include <system_error>

namespace stambrix::run {

namespace {
std::string_view Variable(const char* name)
{
    const char* value = std::getenv(name);
    return value == nullptr ? std::string_view() : std::string_view(value);
}

/// Where the user's configuration lives: $XDG_CONFIG_HOME when it is an absolute path (the base
/// directory rules ignore a relative one), else $HOME/.config; empty when neither is known.
std::filesystem::path UserConfigurationFolder()
{
    std::filesystem::path configHome(Variable("XDG_CONFIG_HOME"));
    if (configHome.is_absolute())
        return configHome;
    const std::filesystem::path home(Variable("HOME"));
    if (home.is_absolute())
        return home / ".config";
    return {};
}
} // namespace

std::filesystem::path SystemPrefixFolder()
{
    return std::filesystem::path(STAMBRIX_SYSCONFDIR) / "stambrix";
}

std::vector<std::filesystem::path> PrefixFilePlaces(const std::filesystem::path& programDirectory)
{
    std::vector<std::filesystem::path> places{programDirectory / names::kPrefixFileName};
    if (const std::filesystem::path user = UserConfigurationFolder(); !user.empty())
        places.push_back(user / "stambrix" / names::kPrefixFileName);
    places.push_back(SystemPrefixFolder() / names::kPrefixFileName);
    return places;
}

names::PrefixTable LoadPrefixTable(std::span<const std::filesystem::path> places)
{
    for (const std::filesystem::path& place : places) {
        std::error_code error;
        const std::filesystem::file_status status = std::filesystem::status(place, error);
        // A folder on the way that may not be searched (EACCES) hides the place as well as an absent
        // one does: no list there can be read. What stands there but cannot be read is reported.
        if (status.type() == std::filesystem::file_type::not_found || error == std::errc::permission_denied)
            continue;
        if (error)
            throw text::RunFailureFromErrno(place.string(), error.value());
        return names::LoadPrefixTable(place);
    }
    return names::DefaultPrefixes();
}

} // namespace stambrix::run
