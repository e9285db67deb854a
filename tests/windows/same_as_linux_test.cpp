// The Windows build of stambrix-cli (scripts/build-windows.sh), run under wine, against this build:
// for every file of the corpus and of the test trees, and every kind of index the table of choices
// knows, the same exit code and the same files, byte for byte. The tree lies in a folder «Ève» under
// the name «Łódź.ged», which the ANSI code page of a Western Windows cannot spell.

#include "run/run_choices.h"
#include "test_support/child_run.h"
#include "test_support/file_bytes.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;
using stambrix::test_support::ChildResult;
using stambrix::test_support::ChildSetup;
using stambrix::test_support::ContentsOf;
using stambrix::test_support::DifferencesBetween;
using stambrix::test_support::RunChild;
using stambrix::test_support::TempFolder;

const fs::path kLinuxCli = STAMBRIX_CLI_PATH;
const fs::path kWindowsCli = STAMBRIX_WINDOWS_CLI_PATH;
const fs::path kWinePrefix = STAMBRIX_WINE_PREFIX;
constexpr const char* kSourceDateEpoch = "SOURCE_DATE_EPOCH=1700000000";

// The GEDCOM files of the corpus and of the end-to-end trees.
std::vector<fs::path> TreeFiles()
{
    std::vector<fs::path> files;
    for (const fs::path& folder : {fs::path(STAMBRIX_CORPUS_DIR), fs::path(STAMBRIX_TEST_DATA) / "e2e"}) {
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(folder, error)) {
            std::string extension = entry.path().extension().string();
            std::transform(extension.begin(), extension.end(), extension.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            if (extension == ".ged")
                files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// The arguments of every kind of index: the name index in every output kind, framed too where a kind
// takes frames, and the text index of every other event kind from both record groups where it has them.
std::vector<std::vector<std::string>> EveryKindOfIndex()
{
    using namespace stambrix::run;
    std::vector<std::vector<std::string>> kinds;
    for (const EventKindFacts& event : kEventKinds) {
        const std::vector<std::string> chosen{"--event", std::string(event.word)};
        if (event.takesPages) {
            for (const OutputKindFacts& output : kOutputKinds) {
                std::vector<std::string> arguments = chosen;
                arguments.insert(arguments.end(), {"--uitvoer", std::string(output.word)});
                kinds.push_back(arguments);
                if (output.framed) {
                    arguments.push_back("--in-frame");
                    kinds.push_back(arguments);
                }
            }
        } else if (event.choosesRecordGroup) {
            for (const RecordGroupFacts& group : kRecordGroups) {
                std::vector<std::string> arguments = chosen;
                arguments.insert(arguments.end(), {"--groep", std::string(group.word)});
                kinds.push_back(arguments);
            }
        } else {
            kinds.push_back(chosen);
        }
    }
    return kinds;
}

std::string Joined(const std::vector<std::string>& arguments)
{
    std::string text;
    for (const std::string& argument : arguments)
        text += (text.empty() ? "" : " ") + argument;
    return text;
}

// Where two runs' index folders differ, the web folder included; "" when they are the same.
std::string DifferencesOfIndexes(const fs::path& linux, const fs::path& windows)
{
    // The Windows run leaves its folder's lock file, hidden.
    auto windowsFiles = ContentsOf(windows / "Stambrix");
    windowsFiles.erase(".stambrix.lock");
    return DifferencesBetween(ContentsOf(linux / "Stambrix"), windowsFiles) +
           DifferencesBetween(ContentsOf(linux / "Stambrix" / "web"), ContentsOf(windows / "Stambrix" / "web"));
}

class SameAsLinux : public testing::TestWithParam<fs::path>
{
protected:
    void SetUp() override
    {
        if (!fs::exists(kWindowsCli) || !fs::exists(kWinePrefix))
            GTEST_SKIP() << kWindowsCli << " and the wine prefix " << kWinePrefix
                         << " are made by scripts/build-windows.sh";
    }

    // Runs `command` (a program and its first arguments) with the arguments of `kind` on a copy of the
    // tree in a fresh folder «Ève» under `folder`, the tree named by `drive` and its path; the folder
    // «Ève» holds the index after.
    ChildResult RunOn(const fs::path& folder, std::vector<std::string> command, const std::vector<std::string>& kind,
                      std::string_view drive, std::vector<std::string> environment)
    {
        const fs::path treeFolder = folder / fs::path(u8"Ève");
        fs::create_directories(treeFolder);
        const fs::path tree = treeFolder / fs::path(u8"Łódź.ged");
        fs::copy_file(GetParam(), tree, fs::copy_options::overwrite_existing);
        const fs::path program = command.front();
        command.erase(command.begin());
        command.push_back("-q");
        command.insert(command.end(), kind.begin(), kind.end());
        command.push_back(std::string(drive) + tree.string());
        environment.push_back(kSourceDateEpoch);
        ChildSetup setup;
        setup.args = std::move(command);
        setup.environment = std::move(environment);
        return RunChild(program, setup);
    }
};

// wine finds this machine's files on its drive Z:.
TEST_P(SameAsLinux, EveryKindOfIndexHasTheSameExitCodeAndBytes)
{
    for (const std::vector<std::string>& kind : EveryKindOfIndex()) {
        const TempFolder work("stambrix-windows");
        const ChildResult linuxRun = RunOn(work.path() / "linux", {kLinuxCli.string()}, kind, "", {});
        const ChildResult windowsRun =
            RunOn(work.path() / "windows", {"/usr/bin/wine", kWindowsCli.string()}, kind,
                  "Z:", {"WINEPREFIX=" + kWinePrefix.string(), "WINEDEBUG=-all", "LANG=nl_NL.UTF-8"});
        EXPECT_EQ(windowsRun.exitCode, linuxRun.exitCode) << Joined(kind) << "\n" << windowsRun.err;
        EXPECT_EQ(DifferencesOfIndexes(work.path() / "linux" / fs::path(u8"Ève"),
                                       work.path() / "windows" / fs::path(u8"Ève")),
                  "")
            << Joined(kind);
    }
}

std::string CaseName(const testing::TestParamInfo<fs::path>& info)
{
    std::string name = info.param.filename().string();
    for (char& c : name)
        if (std::isalnum(static_cast<unsigned char>(c)) == 0)
            c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(TreeFiles, SameAsLinux, testing::ValuesIn(TreeFiles()), CaseName);

} // namespace
