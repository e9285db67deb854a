#pragma once

#include "cli/run_cli.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

// What the stambrix-cli tests share: running the command line in-process and looking at files.
namespace stambrix::test_support {

inline std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in) << "cannot read " << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out) << "cannot write " << path;
}

/// Names of the entries directly inside `folder`; empty when it does not exist.
inline std::set<std::string> EntriesOf(const std::filesystem::path& folder)
{
    std::set<std::string> names;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        names.insert(entry.path().filename().string());
    return names;
}

struct CliResult
{
    int exitCode = -1;
    std::string out;
    std::string err;
};

/// Runs the command line in-process, the way `main` would with these arguments.
inline CliResult RunCommandLine(const std::vector<std::string>& args, const std::filesystem::path& programDirectory)
{
    const std::vector<std::string_view> views(args.begin(), args.end());
    cli::CliEnvironment environment;
    environment.programDirectory = programDirectory;
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
