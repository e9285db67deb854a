#include "cli/run_cli.h"

#include "test_support/child_run.h"
#include "test_support/cli_run.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;
using stambrix::test_support::CliResult;
using stambrix::test_support::EntriesOf;
using stambrix::test_support::ReadBytes;
using stambrix::test_support::RunCommandLine;
using stambrix::test_support::SystemReason;
using stambrix::test_support::WriteBytes;

const fs::path kDataDir = STAMBRIX_TEST_DATA;
const fs::path kFixtureDir = kDataDir / "e2e";
const fs::path kExpectedDir = kDataDir / "expected";
const fs::path kSampleTree = kDataDir / ".." / ".." / "examples" / "voorbeeld.ged";

constexpr std::string_view kNothingFound = "Er zijn geen items gevonden.";
constexpr std::string_view kNoFileGiven = "Er is geen bestand opgegeven om te openen.";

/// Every test works in its own folder with a blank in its name, as users' folders often have,
/// and runs with an empty program directory, so the built-in prefixes apply.
class CliEndToEnd : public ::testing::Test
{
protected:
    fs::path TreeFolder() const { return work_.path() / "Mijn stamboom"; }
    fs::path OutputFolder() const { return TreeFolder() / "Stambrix"; }

    fs::path CopyIntoTree(const fs::path& source)
    {
        fs::create_directories(TreeFolder());
        const fs::path target = TreeFolder() / source.filename();
        fs::copy_file(source, target, fs::copy_options::overwrite_existing);
        return target;
    }

    fs::path WriteIntoTree(const std::string& name, std::string_view bytes)
    {
        fs::create_directories(TreeFolder());
        const fs::path target = TreeFolder() / name;
        WriteBytes(target, bytes);
        return target;
    }

    CliResult Run(std::vector<std::string> args) const { return RunCommandLine(args, programDir_.path()); }

    /// Runs stambrix-cli quietly with `options` on `gedcom` in a child process that permission bits
    /// stop: when the tests run as root, as an unprivileged user who owns the test's files. Nothing
    /// when that user cannot run the program.
    std::optional<CliResult> RunRestrictedOn(const fs::path& gedcom, std::vector<std::string> options = {}) const
    {
        stambrix::test_support::HandToUnprivilegedChild(work_.path());
        if (!stambrix::test_support::UnprivilegedChildCan(STAMBRIX_CLI_PATH, X_OK))
            return std::nullopt;
        stambrix::test_support::ChildSetup setup;
        setup.args = std::move(options);
        setup.args.insert(setup.args.end(), {"-q", gedcom.string()});
        setup.unprivileged = true;
        const stambrix::test_support::ChildResult child = stambrix::test_support::RunChild(STAMBRIX_CLI_PATH, setup);
        return CliResult{child.exitCode, child.out, child.err};
    }

    /// Runs quietly with `options` on `gedcom`.
    CliResult RunOn(const fs::path& gedcom, std::vector<std::string> options = {}) const
    {
        options.push_back("-q");
        options.push_back(gedcom.string());
        return Run(options);
    }

    stambrix::test_support::TempFolder work_{"stambrix-e2e"};
    stambrix::test_support::TempFolder programDir_{"stambrix-e2e-program"};
};

// ---------------------------------------------------------------------------------------------
// Whole runs compared with hand-written index files.

struct IndexCase
{
    std::string fixture;  ///< relative to the test data folder
    std::string expected; ///< relative to expected/; empty when nothing may be written
    std::vector<std::string> options;
    int exitCode = 0;
};

std::ostream& operator<<(std::ostream& os, const IndexCase& c)
{
    os << c.fixture << " ->";
    for (const auto& option : c.options)
        os << ' ' << option;
    return os;
}

const std::string kSample = "../../examples/voorbeeld.ged";

const std::vector<IndexCase> kIndexCases = {
    {"e2e/prefixes_and_dates.ged", "prefixes_and_dates/naam/Namen.txt", {"--event", "naam"}, 0},
    {"e2e/birt_before_next_header.ged", "birt_before_next_header/naam/Namen.txt", {"--event", "naam"}, 0},
    {"e2e/level0_ends_record.ged", "level0_ends_record/naam/Namen.txt", {"--event", "naam"}, 0},
    {"e2e/level0_ends_record.ged", "level0_ends_record/beroepen/Beroepen.txt", {"--event", "beroepen"}, 0},
    {"e2e/level0_ends_record.ged",
     "level0_ends_record/plaatsen-beiden/Plaatsen.txt",
     {"--event", "plaatsen", "--groep", "beiden"},
     0},
    {"e2e/occupations_conc.ged", "occupations_conc/beroepen/Beroepen.txt", {"--event", "beroepen"}, 0},
    {"e2e/places_groups.ged",
     "places_groups/plaatsen-personen/Plaatsen.txt",
     {"--event", "plaatsen", "--groep", "personen"},
     0},
    // Without --groep the place index reads person records.
    {"e2e/places_groups.ged", "places_groups/plaatsen-personen/Plaatsen.txt", {"--event", "plaatsen"}, 0},
    {"e2e/places_groups.ged",
     "places_groups/plaatsen-gezinnen/Plaatsen.txt",
     {"--event", "plaatsen", "--groep", "gezinnen"},
     0},
    {"e2e/places_groups.ged",
     "places_groups/plaatsen-beiden/Plaatsen.txt",
     {"--event", "plaatsen", "--groep", "beiden"},
     0},
    {"e2e/lf_cr_line_ends.ged", "lf_cr_line_ends/naam/Namen.txt", {"--event", "naam"}, 0},
    {"e2e/utf16le_bom.ged", "utf16le_bom/naam/Namen.txt", {"--event", "naam"}, 0},
    {"e2e/utf16le_bom.ged",
     "utf16le_bom/plaatsen-beiden/Plaatsen.txt",
     {"--event", "plaatsen", "--groep", "beiden"},
     0},
    // Code page 437 and Mac OS Roman (with lone CR line ends) are converted to UTF-8.
    {"html/ibmpc_names.ged", "ibmpc_names/naam/Namen.txt", {"--event", "naam"}, 0},
    {"html/ibmpc_names.ged", "ibmpc_names/beroepen/Beroepen.txt", {"--event", "beroepen"}, 0},
    {"html/ibmpc_names.ged",
     "ibmpc_names/plaatsen-beiden/Plaatsen.txt",
     {"--event", "plaatsen", "--groep", "beiden"},
     0},
    {"html/macintosh_names.ged", "macintosh_names/naam/Namen.txt", {"--event", "naam"}, 0},
    {"html/macintosh_names.ged", "macintosh_names/beroepen/Beroepen.txt", {"--event", "beroepen"}, 0},
    {"html/macintosh_names.ged",
     "macintosh_names/plaatsen-beiden/Plaatsen.txt",
     {"--event", "plaatsen", "--groep", "beiden"},
     0},
    {"e2e/no_trailer_last_line.ged", "no_trailer_last_line/naam/Namen.txt", {"--event", "naam"}, 0},
    {"e2e/no_trailer_last_line.ged",
     "no_trailer_last_line/plaatsen-personen/Plaatsen.txt",
     {"--event", "plaatsen", "--groep", "personen"},
     0},
    {"e2e/no_persons.ged", "", {"--event", "naam"}, 1},
    {"e2e/no_persons.ged", "", {"--event", "beroepen"}, 1},
    {"e2e/no_persons.ged", "", {"--event", "plaatsen", "--groep", "personen"}, 1},
    {"e2e/no_persons.ged",
     "no_persons/plaatsen-gezinnen/Plaatsen.txt",
     {"--event", "plaatsen", "--groep", "gezinnen"},
     0},
    // The event kind defaults to naam, and --groep personen agrees with it.
    {"e2e/ctrl_z_before_text.ged", "ctrl_z_before_text/naam/Namen.txt", {"--groep", "personen"}, 0},
    {"e2e/own_prefixes.ged", "own_prefixes/naam/Namen.txt", {}, 0},
    {kSample, "voorbeeld/naam/Namen.txt", {"--event", "naam"}, 0},
    {kSample, "voorbeeld/beroepen/Beroepen.txt", {"--event", "beroepen"}, 0},
    {kSample, "voorbeeld/plaatsen-gezinnen/Plaatsen.txt", {"--event", "plaatsen", "--groep", "gezinnen"}, 0},
};

std::string CaseName(const IndexCase& c)
{
    std::string name = fs::path(c.fixture).stem().string();
    for (const auto& option : c.options)
        if (option.rfind("--", 0) != 0)
            name += "_" + option;
    if (c.options.empty())
        name += "_defaults";
    std::replace_if(
        name.begin(), name.end(), [](char ch) { return !std::isalnum(static_cast<unsigned char>(ch)); }, '_');
    return name;
}

class CliIndexRun : public CliEndToEnd, public ::testing::WithParamInterface<IndexCase>
{
};

TEST_P(CliIndexRun, WritesTheHandWrittenIndex)
{
    const IndexCase& c = GetParam();
    const fs::path gedcom = CopyIntoTree(kDataDir / c.fixture);

    const CliResult result = RunOn(gedcom, c.options);

    ASSERT_EQ(result.exitCode, c.exitCode) << "err: " << result.err;
    EXPECT_EQ(result.out, "");
    if (c.expected.empty()) {
        EXPECT_NE(result.err.find(kNothingFound), std::string::npos) << result.err;
        EXPECT_EQ(EntriesOf(OutputFolder()), std::set<std::string>{}) << "nothing may be written";
        return;
    }
    EXPECT_EQ(result.err, "") << "a quiet run that wrote its index says nothing";
    const fs::path expectedPath = kExpectedDir / c.expected;
    const std::string fileName = expectedPath.filename().string();
    EXPECT_EQ(EntriesOf(OutputFolder()), std::set<std::string>{fileName}) << "one index file and nothing else";
    EXPECT_EQ(ReadBytes(OutputFolder() / fileName), ReadBytes(expectedPath)) << "expected file: " << expectedPath;
}

INSTANTIATE_TEST_SUITE_P(Fixtures, CliIndexRun, ::testing::ValuesIn(kIndexCases),
                         [](const auto& testInfo) { return CaseName(testInfo.param); });

/// `text` with its CR LF line ends replaced by `lineEnd`.
std::string WithLineEnds(const std::string& text, std::string_view lineEnd)
{
    std::string result;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2) {
        result.append(text, start, end - start);
        result.append(lineEnd);
    }
    result.append(text, start);
    return result;
}

class CliLineEnds : public CliEndToEnd, public ::testing::WithParamInterface<std::string>
{
};

TEST_P(CliLineEnds, GiveTheSameIndex)
{
    const std::string original = ReadBytes(kFixtureDir / "prefixes_and_dates.ged");
    const fs::path gedcom = WriteIntoTree("regeleinden.ged", WithLineEnds(original, GetParam()));

    const CliResult result = RunOn(gedcom);

    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ReadBytes(OutputFolder() / "Namen.txt"),
              ReadBytes(kExpectedDir / "prefixes_and_dates" / "naam" / "Namen.txt"));
}

INSTANTIATE_TEST_SUITE_P(AllFour, CliLineEnds, ::testing::Values("\n", "\r\n", "\n\r", "\r"), [](const auto& testInfo) {
    const std::string& end = testInfo.param;
    return end == "\n" ? std::string("LF") : end == "\r\n" ? "CRLF" : end == "\n\r" ? "LFCR" : "CR";
});

TEST_F(CliEndToEnd, Utf16BigEndianGivesTheSameIndexAsLittleEndian)
{
    std::string bytes = ReadBytes(kFixtureDir / "utf16le_bom.ged");
    ASSERT_EQ(bytes.size() % 2, 0U);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        std::swap(bytes[i], bytes[i + 1]);
    const fs::path gedcom = WriteIntoTree("utf16be_bom.ged", bytes);

    for (const auto& [options, expected] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--event", "naam"}, "utf16le_bom/naam/Namen.txt"},
             {{"--event", "plaatsen", "--groep", "beiden"}, "utf16le_bom/plaatsen-beiden/Plaatsen.txt"}}) {
        const CliResult result = RunOn(gedcom, options);
        ASSERT_EQ(result.exitCode, 0) << result.err;
        const fs::path expectedPath = kExpectedDir / expected;
        EXPECT_EQ(ReadBytes(OutputFolder() / expectedPath.filename()), ReadBytes(expectedPath)) << expected;
    }
}

// ---------------------------------------------------------------------------------------------
// Repeated runs, an older index, prefix files.

TEST_F(CliEndToEnd, TwoRunsGiveIdenticalFiles)
{
    const fs::path gedcom = CopyIntoTree(kSampleTree);
    for (const auto& [options, fileName] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--event", "naam"}, "Namen.txt"},
             {{"--event", "beroepen"}, "Beroepen.txt"},
             {{"--event", "plaatsen", "--groep", "beiden"}, "Plaatsen.txt"}}) {
        ASSERT_EQ(RunOn(gedcom, options).exitCode, 0) << fileName;
        const std::string first = ReadBytes(OutputFolder() / fileName);
        ASSERT_EQ(RunOn(gedcom, options).exitCode, 0) << fileName;
        EXPECT_EQ(ReadBytes(OutputFolder() / fileName), first) << fileName;
    }
}

TEST_F(CliEndToEnd, ReplacesALongerOlderIndexAndLeavesOtherFilesAlone)
{
    const fs::path gedcom = CopyIntoTree(kFixtureDir / "ctrl_z_before_text.ged");
    fs::create_directories(OutputFolder());
    std::string older;
    for (int i = 0; i < 100; ++i)
        older += "Oud, Regel " + std::to_string(i) + "\t\t\t[@I" + std::to_string(i) + "@]\r\n";
    WriteBytes(OutputFolder() / "Namen.txt", older);
    const std::string notes = "Eigen aantekeningen\r\n";
    WriteBytes(OutputFolder() / "aantekeningen.txt", notes);
    WriteBytes(OutputFolder() / "Beroepen.txt", "molenaar\t[@I1@]\r\n");

    const CliResult result = RunOn(gedcom);

    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ReadBytes(OutputFolder() / "Namen.txt"),
              ReadBytes(kExpectedDir / "ctrl_z_before_text" / "naam" / "Namen.txt"));
    EXPECT_EQ(ReadBytes(OutputFolder() / "aantekeningen.txt"), notes);
    EXPECT_EQ(ReadBytes(OutputFolder() / "Beroepen.txt"), "molenaar\t[@I1@]\r\n");
    EXPECT_EQ(EntriesOf(OutputFolder()), (std::set<std::string>{"Beroepen.txt", "Namen.txt", "aantekeningen.txt"}));
}

TEST_F(CliEndToEnd, PrefixFileOptionChangesTheSplitting)
{
    const fs::path gedcom = CopyIntoTree(kFixtureDir / "own_prefixes.ged");
    const fs::path prefixFile = kFixtureDir / "own_prefixes_voorzetsels.txt";

    const CliResult result = RunOn(gedcom, {"--voorzetsels", prefixFile.string()});

    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ReadBytes(OutputFolder() / "Namen.txt"),
              ReadBytes(kExpectedDir / "own_prefixes" / "naam-voorzetsels" / "Namen.txt"));
}

TEST_F(CliEndToEnd, PrefixFileInTheProgramDirectoryIsUsed)
{
    const fs::path gedcom = CopyIntoTree(kFixtureDir / "own_prefixes.ged");
    fs::copy_file(kFixtureDir / "own_prefixes_voorzetsels.txt", programDir_.path() / "Voorzetsels.txt");

    const CliResult result = RunOn(gedcom);

    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ReadBytes(OutputFolder() / "Namen.txt"),
              ReadBytes(kExpectedDir / "own_prefixes" / "naam-voorzetsels" / "Namen.txt"));
}

// --voorzetsels goes before every place the list is looked for, the program's folder first among them.
TEST_F(CliEndToEnd, PrefixFileOptionGoesBeforeTheFileBesideTheProgram)
{
    const fs::path gedcom = CopyIntoTree(kFixtureDir / "own_prefixes.ged");
    WriteBytes(programDir_.path() / "Voorzetsels.txt", "; geen voorvoegsels\r\n");

    const CliResult result = RunOn(gedcom, {"--voorzetsels", (kFixtureDir / "own_prefixes_voorzetsels.txt").string()});

    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(ReadBytes(OutputFolder() / "Namen.txt"),
              ReadBytes(kExpectedDir / "own_prefixes" / "naam-voorzetsels" / "Namen.txt"));
}

// ---------------------------------------------------------------------------------------------
// Input/output failures: exit 3, a message with the path, nothing on disk lost.

TEST_F(CliEndToEnd, MissingGedcomFileNamesThePath)
{
    fs::create_directories(TreeFolder());
    const fs::path gedcom = TreeFolder() / "bestaat niet.ged";

    const CliResult result = RunOn(gedcom);

    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.err.find(gedcom.string()), std::string::npos) << result.err;
    EXPECT_EQ(result.out, "");
    EXPECT_FALSE(fs::exists(OutputFolder() / "Namen.txt"));
}

TEST_F(CliEndToEnd, FolderGivenAsGedcomFileNamesThePath)
{
    const fs::path gedcom = TreeFolder() / "stamboom.ged";
    fs::create_directories(gedcom);

    const CliResult result = RunOn(gedcom);

    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.err.find(gedcom.string()), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(OutputFolder() / "Namen.txt"));
}

TEST_F(CliEndToEnd, UnreadableGedcomFileNamesThePath)
{
    const fs::path gedcom = CopyIntoTree(kFixtureDir / "ctrl_z_before_text.ged");
    fs::permissions(gedcom, fs::perms::none);

    const std::optional<CliResult> result = RunRestrictedOn(gedcom);

    if (!result)
        GTEST_SKIP() << "an unprivileged user cannot run " << STAMBRIX_CLI_PATH;
    EXPECT_EQ(result->exitCode, 3);
    EXPECT_EQ(result->err, "stambrix-cli: " + gedcom.string() + ": " + SystemReason(EACCES) + "\n");
    EXPECT_FALSE(fs::exists(OutputFolder()));
}

constexpr std::string_view kOlderIndex = "Berg, Jan van der\t* 12-03-1850\tman\t[@I1@]\r\n";

TEST_F(CliEndToEnd, ReadOnlyOlderIndexIsNotReplaced)
{
    const fs::path gedcom = CopyIntoTree(kFixtureDir / "prefixes_and_dates.ged");
    fs::create_directories(OutputFolder());
    const fs::path older = OutputFolder() / "Namen.txt";
    WriteBytes(older, kOlderIndex);
    fs::permissions(older, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

    const CliResult result = RunOn(gedcom);

    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.err.find(OutputFolder().string()), std::string::npos) << result.err;
    EXPECT_EQ(ReadBytes(older), kOlderIndex);
    EXPECT_EQ(fs::status(older).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(EntriesOf(OutputFolder()), std::set<std::string>{"Namen.txt"}) << "no temporary file may stay";
}

TEST_F(CliEndToEnd, ReadOnlyOutputFolderKeepsTheOlderIndex)
{
    const fs::path gedcom = CopyIntoTree(kFixtureDir / "prefixes_and_dates.ged");
    fs::create_directories(OutputFolder());
    const fs::path older = OutputFolder() / "Namen.txt";
    WriteBytes(older, kOlderIndex);
    fs::permissions(OutputFolder(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                        fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);

    const std::optional<CliResult> result = RunRestrictedOn(gedcom);

    if (!result)
        GTEST_SKIP() << "an unprivileged user cannot run " << STAMBRIX_CLI_PATH;
    EXPECT_EQ(result->exitCode, 3);
    EXPECT_EQ(result->err,
              "stambrix-cli: " + (OutputFolder() / "Namen.txt").string() + ": " + SystemReason(EACCES) + "\n");
    EXPECT_EQ(ReadBytes(older), kOlderIndex);
    EXPECT_EQ(EntriesOf(OutputFolder()), std::set<std::string>{"Namen.txt"});
}

TEST_F(CliEndToEnd, FileInThePlaceOfTheOutputFolderIsKept)
{
    const fs::path gedcom = CopyIntoTree(kFixtureDir / "prefixes_and_dates.ged");
    const std::string blocker = "geen map\r\n";
    WriteBytes(OutputFolder(), blocker);

    const CliResult result = RunOn(gedcom);

    EXPECT_EQ(result.exitCode, 3);
    EXPECT_NE(result.err.find(OutputFolder().string()), std::string::npos) << result.err;
    EXPECT_TRUE(fs::is_regular_file(OutputFolder()));
    EXPECT_EQ(ReadBytes(OutputFolder()), blocker);
    EXPECT_EQ(EntriesOf(TreeFolder()), (std::set<std::string>{"Stambrix", "prefixes_and_dates.ged"}));
}

// ---------------------------------------------------------------------------------------------
// Files with nothing to index: exit 1 and the run's own message, nothing written.

struct NothingFoundCase
{
    std::string name;
    std::string content;
};

class CliNothingFound : public CliEndToEnd, public ::testing::WithParamInterface<NothingFoundCase>
{
};

TEST_P(CliNothingFound, SaysSoAndWritesNothing)
{
    const fs::path gedcom = WriteIntoTree("stamboom.ged", GetParam().content);
    for (const auto& options : std::vector<std::vector<std::string>>{
             {"--event", "naam"}, {"--event", "beroepen"}, {"--event", "plaatsen", "--groep", "beiden"}}) {
        const CliResult result = RunOn(gedcom, options);
        EXPECT_EQ(result.exitCode, 1) << options[1];
        EXPECT_NE(result.err.find(kNothingFound), std::string::npos) << options[1] << ": " << result.err;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(EntriesOf(OutputFolder()), std::set<std::string>{}) << options[1];
    }
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, CliNothingFound,
    ::testing::Values(NothingFoundCase{"EmptyFile", ""},
                      NothingFoundCase{"HtmlPage", "<!DOCTYPE html>\r\n<html lang=\"nl\">\r\n<head><title>Stamboom "
                                                   "Moens</title></head>\r\n<body>\r\n<h1>Stamboom van de familie "
                                                   "Moens</h1>\r\n<p>Jacob Moens, geboren 1779 te "
                                                   "Dreischor.</p>\r\n</body>\r\n</html>\r\n"},
                      NothingFoundCase{"HeaderAndTrailerOnly", "0 HEAD\r\n1 CHAR ANSI\r\n0 TRLR\r\n"}),
    [](const auto& testInfo) { return testInfo.param.name; });

// ---------------------------------------------------------------------------------------------
// Usage errors: exit 2, a message on err, nothing created.

// A missing or blank file name is a usage error like any other.
TEST_F(CliEndToEnd, NoGedcomGivenIsRefused)
{
    const bool outputFolderWasThere = fs::exists("Stambrix");
    for (const auto& args :
         std::vector<std::vector<std::string>>{{}, {"-q"}, {"--event", "beroepen"}, {"-q", "   "}, {"-q", ""}}) {
        const CliResult result = Run(args);
        EXPECT_EQ(result.exitCode, 2) << args.size() << " arguments";
        EXPECT_EQ(result.err, "stambrix-cli: " + std::string(kNoFileGiven) + "\nZie stambrix-cli --help.\n");
        EXPECT_EQ(result.out, "");
    }
    if (!outputFolderWasThere) {
        EXPECT_FALSE(fs::exists("Stambrix")) << "a blank path must not create a folder";
    }
}

struct UsageCase
{
    std::string name;
    std::vector<std::string> options;
};

class CliUsageError : public CliEndToEnd, public ::testing::WithParamInterface<UsageCase>
{
};

TEST_P(CliUsageError, ExitsWithTwoAndWritesNothing)
{
    const fs::path gedcom = CopyIntoTree(kFixtureDir / "places_groups.ged");

    const CliResult result = RunOn(gedcom, GetParam().options);

    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err, "");
    EXPECT_EQ(result.out, "");
    EXPECT_FALSE(fs::exists(OutputFolder())) << "a refused command line writes nothing";
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, CliUsageError,
    ::testing::Values(UsageCase{"GezinnenWithDefaultNaam", {"--groep", "gezinnen"}},
                      UsageCase{"BeidenWithNaam", {"--event", "naam", "--groep", "beiden"}},
                      UsageCase{"GezinnenWithBeroepen", {"--event", "beroepen", "--groep", "gezinnen"}},
                      UsageCase{"BeidenWithBeroepen", {"--groep", "beiden", "--event", "beroepen"}},
                      UsageCase{"UnknownOption", {"--kleur", "rood"}},
                      UsageCase{"UnknownEventKind", {"--event", "namen"}},
                      UsageCase{"UnknownRecordGroup", {"--event", "plaatsen", "--groep", "allebei"}},
                      UsageCase{"TwoGedcomFiles", {"tweede.ged"}}),
    [](const auto& testInfo) { return testInfo.param.name; });

TEST_F(CliEndToEnd, MissingPrefixFileIsAUsageError)
{
    const fs::path gedcom = CopyIntoTree(kFixtureDir / "own_prefixes.ged");
    const fs::path prefixFile = work_.path() / "Mijn voorzetsels.txt";

    const CliResult result = RunOn(gedcom, {"--voorzetsels", prefixFile.string()});

    EXPECT_EQ(result.exitCode, 2);
    EXPECT_NE(result.err.find(prefixFile.string()), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(OutputFolder()));
}

// A prefix file behind a folder the user may not search may well be there: the run names the reason.
TEST_F(CliEndToEnd, PrefixFileBehindAFolderThatMayNotBeSearchedNamesTheReason)
{
    const fs::path gedcom = CopyIntoTree(kFixtureDir / "own_prefixes.ged");
    const fs::path locked = work_.path() / "afgeschermd";
    fs::create_directories(locked);
    fs::copy_file(kFixtureDir / "own_prefixes_voorzetsels.txt", locked / "Voorzetsels.txt");
    fs::permissions(locked, fs::perms::none);

    const std::optional<CliResult> result =
        RunRestrictedOn(gedcom, {"--voorzetsels", (locked / "Voorzetsels.txt").string()});

    if (!result)
        GTEST_SKIP() << "an unprivileged user cannot run " << STAMBRIX_CLI_PATH;
    EXPECT_EQ(result->exitCode, 3);
    EXPECT_EQ(result->err,
              "stambrix-cli: " + (locked / "Voorzetsels.txt").string() + ": " + SystemReason(EACCES) + "\n");
    EXPECT_FALSE(fs::exists(OutputFolder()));
}

// A footer date that would not be a date is refused before anything is read or made.
TEST_F(CliEndToEnd, SourceDateEpochThatIsNoMomentIsAUsageError)
{
    const fs::path gedcom = CopyIntoTree(kFixtureDir / "own_prefixes.ged");
    setenv("SOURCE_DATE_EPOCH", "99999999999999", 1);

    const CliResult result = RunOn(gedcom, {"--uitvoer", "html"});
    unsetenv("SOURCE_DATE_EPOCH");

    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.err, "stambrix-cli: SOURCE_DATE_EPOCH is geen geldig tijdstip: 99999999999999\n");
    EXPECT_FALSE(fs::exists(OutputFolder()));
}

// ---------------------------------------------------------------------------------------------
// Garbage in: no crash, a normal outcome.

/// Reproducible bytes of every value but 26, which would end the file early.
std::string NoiseBytes(std::size_t count, std::uint32_t seed)
{
    std::string bytes;
    bytes.reserve(count);
    while (bytes.size() < count) {
        seed = seed * 1664525U + 1013904223U;
        const char byte = static_cast<char>(seed >> 24);
        if (byte != 26)
            bytes.push_back(byte);
    }
    return bytes;
}

std::string GarbageWithRecords()
{
    using namespace std::string_literals;
    std::string bytes = NoiseBytes(20000, 7);
    bytes += "\r\n0 @I1@ INDI\0\r\n100 NAME Jan /Berg/\r\n1 NAME \0/\0/\r\n1 BIRT\r\n\0\0\0\r\n"s;
    bytes += "2 DATE 31 FEB 99999999999999999999\r\n1 SEX\r\n2 PLAC \0Goes\r\n1 OCCU \xff\xfe\r\n2 CONC\r\n"s;
    bytes += "0 @F1@ FAM\r\n1 MARR\r\n3 PLAC\r\n"s;
    bytes += std::string(2 * 1024 * 1024, 'x') + "\0\0"s;
    bytes += "\r\n1 NAME /"s + NoiseBytes(5000, 11) + "\r\n0 @I2@ INDI"s;
    return bytes;
}

std::string TruncatedUtf16()
{
    using namespace std::string_literals;
    // A byte-order mark, a lone high surrogate and an odd byte at the end.
    return "\xff\xfe"s + "0\0 \0@\0I\0001\0@\0 \0I\0N\0D\0I\0\r\0\n\0"s + "\x00\xd8"s + "1\0 \0N\0A\0M\0E\0 \0/\0"s +
           "x"s;
}

struct GarbageCase
{
    std::string name;
    std::string bytes;
};

class CliGarbage : public CliEndToEnd, public ::testing::WithParamInterface<GarbageCase>
{
};

TEST_P(CliGarbage, EndsNormallyForEveryEventKind)
{
    const fs::path gedcom = WriteIntoTree("rommel.ged", GetParam().bytes);
    for (const auto& [options, fileName] : std::vector<std::pair<std::vector<std::string>, std::string>>{
             {{"--event", "naam"}, "Namen.txt"},
             {{"--event", "beroepen"}, "Beroepen.txt"},
             {{"--event", "plaatsen", "--groep", "beiden"}, "Plaatsen.txt"}}) {
        const CliResult result = RunOn(gedcom, options);
        EXPECT_TRUE(result.exitCode == 0 || result.exitCode == 1)
            << fileName << ": exit " << result.exitCode << ", err: " << result.err;
        EXPECT_EQ(fs::exists(OutputFolder() / fileName), result.exitCode == 0) << fileName;
    }
}

INSTANTIATE_TEST_SUITE_P(Inputs, CliGarbage,
                         ::testing::Values(GarbageCase{"BinaryWithNulsAndLevel100", GarbageWithRecords()},
                                           GarbageCase{"NoiseOnly", NoiseBytes(50000, 3)},
                                           GarbageCase{"TruncatedUtf16", TruncatedUtf16()}),
                         [](const auto& testInfo) { return testInfo.param.name; });

// ---------------------------------------------------------------------------------------------
// What a run that is not quiet prints, and what --help and --version print.

struct PanelCase
{
    std::string fixture;
    std::vector<std::string> options;
    int read = 0;
    int written = 0;
};

class CliFinalPanels : public CliEndToEnd, public ::testing::WithParamInterface<PanelCase>
{
};

TEST_P(CliFinalPanels, EndTheErrorStream)
{
    const PanelCase& c = GetParam();
    std::vector<std::string> args = c.options;
    args.push_back(CopyIntoTree(kDataDir / c.fixture).string());

    const CliResult result = Run(args);

    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "");
    const std::regex panels(R"((^|\n)  gelezen : (\d+)\n  (\d\d):(\d\d):(\d\d):(\d\d)\n  geschreven : (\d+)\n$)");
    std::smatch match;
    ASSERT_TRUE(std::regex_search(result.err, match, panels)) << "err was:\n" << result.err;
    EXPECT_EQ(std::stoi(match[2]), c.read);
    EXPECT_LT(std::stoi(match[4]), 24) << "hours";
    EXPECT_LT(std::stoi(match[5]), 60) << "minutes";
    EXPECT_LT(std::stoi(match[6]), 60) << "seconds";
    EXPECT_EQ(std::stoi(match[7]), c.written);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, CliFinalPanels,
    ::testing::Values(PanelCase{"e2e/birt_before_next_header.ged", {"--event", "naam"}, 8, 8},
                      PanelCase{"e2e/level0_ends_record.ged", {"--event", "beroepen"}, 3, 3},
                      PanelCase{"e2e/places_groups.ged", {"--event", "plaatsen", "--groep", "gezinnen"}, 3, 4},
                      PanelCase{"e2e/places_groups.ged", {"--event", "plaatsen", "--groep", "beiden"}, 6, 12},
                      PanelCase{kSample, {"--event", "naam"}, 33, 33}),
    [](const auto& testInfo) {
        std::string name = fs::path(testInfo.param.fixture).stem().string();
        for (const auto& option : testInfo.param.options)
            if (option.rfind("--", 0) != 0)
                name += "_" + option;
        return name;
    });

// ---------------------------------------------------------------------------------------------
// --zonder-levenden, judged in the year of SOURCE_DATE_EPOCH 1750000000 (2025): a year up to 1925 is old.

struct LivingCase
{
    std::vector<std::string> options;
    std::string expected; ///< relative to expected/living_persons/
};

class CliZonderLevenden : public CliEndToEnd, public ::testing::WithParamInterface<LivingCase>
{
};

TEST_P(CliZonderLevenden, LeavesOutThePersonsTheRuleNames)
{
    const LivingCase& c = GetParam();
    const fs::path gedcom = CopyIntoTree(kFixtureDir / "living_persons.ged");
    setenv("SOURCE_DATE_EPOCH", "1750000000", 1);

    const CliResult result = RunOn(gedcom, c.options);
    unsetenv("SOURCE_DATE_EPOCH");

    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "");
    const fs::path expectedPath = kExpectedDir / "living_persons" / c.expected;
    EXPECT_EQ(ReadBytes(OutputFolder() / expectedPath.filename()), ReadBytes(expectedPath))
        << "expected file: " << expectedPath;
}

INSTANTIATE_TEST_SUITE_P(EventKinds, CliZonderLevenden,
                         ::testing::Values(LivingCase{{"--zonder-levenden"}, "naam/Namen.txt"},
                                           LivingCase{{"--zonder-levenden", "--event", "beroepen"},
                                                      "beroepen/Beroepen.txt"},
                                           LivingCase{{"--zonder-levenden", "--event", "plaatsen", "--groep", "beiden"},
                                                      "plaatsen-beiden/Plaatsen.txt"},
                                           LivingCase{{}, "naam-alle/Namen.txt"}),
                         [](const auto& testInfo) {
                             std::string name = "Index";
                             for (const auto& option : testInfo.param.options)
                                 if (option.rfind("--", 0) != 0)
                                     name += "_" + option;
                             return testInfo.param.options.empty() ? std::string("WithoutTheOption") : name;
                         });

TEST_F(CliEndToEnd, ZonderLevendenCountsThePersonsLeftOutAfterThePanels)
{
    const fs::path gedcom = CopyIntoTree(kFixtureDir / "living_persons.ged");
    setenv("SOURCE_DATE_EPOCH", "1750000000", 1);

    const CliResult result = Run({"--zonder-levenden", gedcom.string()});
    const CliResult quiet = RunOn(gedcom, {"--zonder-levenden"});
    const CliResult without = Run({gedcom.string()});
    unsetenv("SOURCE_DATE_EPOCH");

    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(std::regex_search(result.err, std::regex(R"(\n  geschreven : 9\n  weggelaten : 7\n$)"))) << result.err;
    EXPECT_EQ(quiet.err, "");
    EXPECT_EQ(without.err.find("weggelaten"), std::string::npos) << without.err;
}

constexpr std::string_view kReplacedByEmpty =
    "Er zijn geen items gevonden; de vorige index is vervangen door een lege.";

// A run that leaves everyone out still replaces the earlier index of its kind, by an empty one, so
// the persons it leaves out are not left published; the files of the other kinds stay as they were.
TEST_F(CliEndToEnd, ZonderLevendenWithEveryoneLeftOutReplacesTheIndexOfItsKindByAnEmptyOne)
{
    const fs::path gedcom = WriteIntoTree("stamboom.ged", "0 HEAD\r\n0 @I1@ INDI\r\n1 NAME Jan /Kok/\r\n1 OCCU "
                                                          "boer\r\n1 RESI\r\n2 PLAC Goes\r\n0 TRLR\r\n");
    const std::vector<std::pair<std::string, std::string>> kinds{
        {"naam", "Namen.txt"}, {"beroepen", "Beroepen.txt"}, {"plaatsen", "Plaatsen.txt"}};
    for (const auto& [kind, fileName] : kinds)
        ASSERT_EQ(RunOn(gedcom, {"--event", kind}).exitCode, 0) << kind;
    const stambrix::test_support::FolderContents earlier = stambrix::test_support::ContentsOf(OutputFolder());

    std::set<std::string> emptied;
    for (const auto& [kind, fileName] : kinds) {
        const CliResult result = Run({"--zonder-levenden", "--event", kind, gedcom.string()});

        EXPECT_EQ(result.exitCode, 1) << kind;
        EXPECT_TRUE(result.err.starts_with(std::string(kReplacedByEmpty) + "\n")) << kind << ": " << result.err;
        EXPECT_NE(result.err.find("  weggelaten : 1\n"), std::string::npos) << kind << ": " << result.err;
        emptied.insert(fileName);
        const stambrix::test_support::FolderContents now = stambrix::test_support::ContentsOf(OutputFolder());
        EXPECT_EQ(now.size(), earlier.size()) << kind;
        for (const auto& [name, bytes] : earlier) {
            ASSERT_NE(bytes, "") << name;
            EXPECT_EQ(now.at(name), emptied.contains(name) ? "" : bytes) << kind << ", " << name;
        }
    }
}

// The empty index is put in place as any index is: one that cannot replace the earlier index ends
// the run with the path, leaves the earlier index whole and says nothing of a replacement.
TEST_F(CliEndToEnd, ZonderLevendenEmptyIndexThatCannotBePutInPlaceKeepsTheEarlierOne)
{
    const fs::path gedcom = WriteIntoTree("stamboom.ged", "0 HEAD\r\n0 @I1@ INDI\r\n1 NAME Jan /Kok/\r\n0 TRLR\r\n");
    fs::create_directories(OutputFolder());
    const fs::path older = OutputFolder() / "Namen.txt";
    WriteBytes(older, kOlderIndex);
    fs::permissions(older, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

    const CliResult result = RunOn(gedcom, {"--zonder-levenden"});

    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.err, "stambrix-cli: " + older.string() + ": " + std::strerror(EACCES) + "\n");
    EXPECT_EQ(ReadBytes(older), kOlderIndex);
    EXPECT_EQ(EntriesOf(OutputFolder()), std::set<std::string>{"Namen.txt"}) << "no temporary file may stay";
}

TEST_F(CliEndToEnd, HelpAndVersionPrintOnOutOnly)
{
    const CliResult help = Run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.err, "");
    for (const char* option : {"--event", "--groep", "--zonder-levenden", "--voorzetsels", "--quiet", "--version"})
        EXPECT_NE(help.out.find(option), std::string::npos) << option << " missing from:\n" << help.out;

    const CliResult version = Run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.err, "");
    EXPECT_TRUE(std::regex_search(version.out, std::regex(R"(\d+\.\d+)"))) << version.out;
    EXPECT_FALSE(fs::exists(OutputFolder()));
}

} // namespace
