#pragma once

#include <filesystem>
#include <ostream>
#include <span>
#include <string_view>
#include <vector>

namespace stambrix::cli {

/// What the command line cannot tell: where the prefix list may stand and whether stderr is a terminal.
struct CliEnvironment
{
    std::vector<std::filesystem::path> prefixFilePlaces; ///< where "Voorzetsels.txt" is looked for, in order
    bool progressToTerminal = false;                     ///< draw a live progress line on `err`
};

/// stambrix-cli with its arguments (without the program name). Help and version go to `out`;
/// messages, progress and the final panel texts to `err`. Returns 0 when the index was written,
/// 1 when nothing was found, 2 for a usage error or an empty path, 3 for an input/output error.
int RunCli(std::span<const std::string_view> args, const CliEnvironment& environment, std::ostream& out,
           std::ostream& err);

} // namespace stambrix::cli
