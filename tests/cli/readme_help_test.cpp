#include "test_support/cli_run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kHelpCommand = "$ build/release/bin/stambrix-cli --help";
constexpr std::string_view kBlockEnd = "```";

// The README shows what --help prints, under the command that prints it; the block must be the
// program's own output, so it cannot fall behind when an option is added or reworded.
TEST(ReadmeHelpBlock, IsWhatHelpPrints)
{
    const fs::path readme = fs::path(STAMBRIX_SOURCE_DIR) / "README.md";
    const std::string text = stambrix::test_support::ReadBytes(readme);
    const auto command = text.find(std::string(kHelpCommand) + "\n");
    ASSERT_NE(command, std::string::npos) << readme << " has no line \"" << kHelpCommand << "\" before its help block";
    const auto blockStart = command + kHelpCommand.size() + 1;
    const auto blockEnd = text.find(kBlockEnd, blockStart);
    ASSERT_NE(blockEnd, std::string::npos) << readme << ": the help block has no closing " << kBlockEnd;

    const stambrix::test_support::CliResult help = stambrix::test_support::RunCommandLine({"--help"}, {});

    ASSERT_EQ(help.exitCode, 0) << help.err;
    EXPECT_EQ(text.substr(blockStart, blockEnd - blockStart), help.out)
        << "the help block in " << readme << " differs from what stambrix-cli --help prints";
}

} // namespace
