#pragma once

#include "cli/run_cli.h"
#include "names/prefix_table.h"
#include "test_support/file_bytes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

// Running the command line in-process, as the stambrix-cli tests do.
namespace stambrix::test_support {

struct CliResult
{
    int exitCode = -1;
    std::string out;
    std::string err;
};

/// Runs the command line in-process, the way `main` would with these arguments, with "Voorzetsels.txt"
/// looked for in `programDirectory` alone: the user's and the system's lists don't reach the tests.
inline CliResult RunCommandLine(const std::vector<std::string>& args, const std::filesystem::path& programDirectory)
{
    const std::vector<std::string_view> views(args.begin(), args.end());
    cli::CliEnvironment environment;
    environment.prefixFilePlaces = {programDirectory / names::kPrefixFileName};
    environment.progressToTerminal = false;
    std::ostringstream out;
    std::ostringstream err;
    CliResult result;
    result.exitCode = cli::RunCli(views, environment, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

} // namespace stambrix::test_support
