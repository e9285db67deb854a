#include "run/prefix_file_places.h"

#include <cstdlib>
#include <string_view>

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

std::string PrefixFilePlacesText()
{
    return "Voorzetsels.txt naast het programma, anders in $XDG_CONFIG_HOME/stambrix/ (standaard "
           "~/.config/stambrix/), anders in " +
           (SystemPrefixFolder() / "").string();
}

} // namespace stambrix::run
