#include "run/prefix_file_places.h"

#include <cstdlib>

namespace stambrix::run {

namespace {
// The user's own folder of the program's settings: %APPDATA%\Stambrix; empty when APPDATA is not set
// to an absolute path.
std::filesystem::path UserPrefixFolder()
{
    const wchar_t* appData = _wgetenv(L"APPDATA");
    if (appData == nullptr)
        return {};
    const std::filesystem::path folder(appData);
    return folder.is_absolute() ? folder / "Stambrix" : std::filesystem::path();
}
} // namespace

std::vector<std::filesystem::path> PrefixFilePlaces(const std::filesystem::path& programDirectory)
{
    std::vector<std::filesystem::path> places{programDirectory / names::kPrefixFileName};
    if (const std::filesystem::path user = UserPrefixFolder(); !user.empty())
        places.push_back(user / names::kPrefixFileName);
    return places;
}

std::string PrefixFilePlacesText()
{
    return "Voorzetsels.txt naast het programma, anders in %APPDATA%\\Stambrix\\";
}

} // namespace stambrix::run
