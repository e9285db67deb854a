#pragma once

#include "names/prefix_table.h"

#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace stambrix::run {

/// The places "Voorzetsels.txt" is looked for, in this order: beside the program (a copy carried
/// along with it keeps working), then the user's folder. On Linux that is the configuration folder
/// ($XDG_CONFIG_HOME/stambrix, or ~/.config/stambrix when that is not set to an absolute path), left
/// out when neither variable says where it is, followed by the system's (/etc/stambrix for a program
/// installed under /usr). On Windows it is %APPDATA%\Stambrix, where the installer puts no list.
std::vector<std::filesystem::path> PrefixFilePlaces(const std::filesystem::path& programDirectory);

#ifndef _WIN32
/// The system's folder of the prefix file, where the package puts the list the user may copy.
std::filesystem::path SystemPrefixFolder();
#endif

/// The places of PrefixFilePlaces in words, for the help: «Voorzetsels.txt naast het programma,
/// anders in ...».
std::string PrefixFilePlacesText();

/// The table from the first of `places` where a file (or anything else) stands, the built-in prefixes
/// when there is none. A place behind a folder this process may not search is passed over as an absent
/// one. Throws text::RunFailure naming the path when that first one cannot be read: a broken list is
/// reported, not passed over for the next.
names::PrefixTable LoadPrefixTable(std::span<const std::filesystem::path> places);

} // namespace stambrix::run
