#include "test_support/child_run.h"
#include "test_support/cli_run.h"
#include "test_support/generated_gedcom.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

// stambrix-cli run as a child process while the disk, the folder or the GEDCOM file fails it: the
// run reports "<path>: <reason>" with exit code 3, and every file already in the folder "Stambrix"
// stays as it was, with no temporary file left beside it.
namespace {

namespace fs = std::filesystem;
using stambrix::test_support::ChildResult;
using stambrix::test_support::ChildSetup;
using stambrix::test_support::ContentsOf;
using stambrix::test_support::DifferencesBetween;
using stambrix::test_support::FolderContents;
using stambrix::test_support::GeneratedGedcom;
using stambrix::test_support::ReadBytes;
using stambrix::test_support::RunChild;
using stambrix::test_support::WriteBytes;

const fs::path kCli = STAMBRIX_CLI_PATH;
const fs::path kReadErrorPreload = STAMBRIX_READ_ERROR_PRELOAD;
const fs::path kFsyncErrorPreload = STAMBRIX_FSYNC_ERROR_PRELOAD;

const std::vector<std::string> kText = {};
const std::vector<std::string> kHtmlSinglePage = {"--uitvoer", "html"};
const std::vector<std::string> kHtmlInFrame = {"--uitvoer", "html", "--in-frame"};

/// The environment that preloads `library` into the child, with `variables` for it.
std::vector<std::string> PreloadEnvironment(const fs::path& library, std::vector<std::string> variables)
{
    const char* sanitizerOptions = std::getenv("ASAN_OPTIONS");
    variables.push_back("LD_PRELOAD=" + library.string());
    // AddressSanitizer wants to be the first library; this one comes before it.
    variables.push_back(std::string("ASAN_OPTIONS=") + (sanitizerOptions != nullptr ? sanitizerOptions : "") +
                        ":verify_asan_link_order=0");
    return variables;
}

/// The log a preloaded library kept, or nothing when the library was never loaded.
std::optional<std::string> PreloadLog(const fs::path& log)
{
    std::string injected = fs::exists(log) ? ReadBytes(log) : std::string();
    if (injected.find("loaded\n") == std::string::npos)
        return std::nullopt;
    return injected;
}

/// Compares the folder "Stambrix" after a failed run with what it held before: every file keeps its
/// old bytes, also those the run had finished before it failed (the pages of an HTML index are put in
/// place only as a whole), and there is nothing else, so no temporary file either.
void ExpectNothingLost(const FolderContents& before, const FolderContents& after)
{
    EXPECT_EQ(DifferencesBetween(before, after), "") << "files before the run: " << before.size();
}

class FailureInjection : public ::testing::Test
{
protected:
    fs::path Tree() const { return work_.path() / "Mijn stamboom"; }
    fs::path Output() const { return Tree() / "Stambrix"; }
    fs::path Gedcom() const { return Tree() / "stamboom.ged"; }

    void SetUp() override { fs::create_directories(Tree()); }

    /// stambrix-cli, quiet, with `options` on `gedcom`.
    static ChildSetup CliOn(const std::vector<std::string>& options, const fs::path& gedcom)
    {
        ChildSetup setup;
        setup.args = options;
        setup.args.push_back("-q");
        setup.args.push_back(gedcom.string());
        return setup;
    }
    ChildSetup CliOn(const std::vector<std::string>& options) const { return CliOn(options, Gedcom()); }

    /// The folder an earlier run on a smaller tree left, with a file of the user's own beside the
    /// index; the tree's GEDCOM file is then `tree`.
    FolderContents WriteOlderIndex(const std::vector<std::string>& options, const std::string& tree)
    {
        WriteBytes(Gedcom(), GeneratedGedcom(40));
        const ChildResult older = RunChild(kCli, CliOn(options));
        EXPECT_EQ(older.exitCode, 0) << older.err;
        WriteBytes(Output() / "aantekeningen.txt", "Eigen aantekeningen\r\n");
        WriteBytes(Gedcom(), tree);
        return ContentsOf(Output());
    }

    /// What a run that is not disturbed writes for `tree`, in a folder of its own.
    FolderContents CompleteRun(const std::vector<std::string>& options, const std::string& tree)
    {
        const fs::path folder = work_.path() / "ongestoord";
        fs::create_directories(folder);
        WriteBytes(folder / "stamboom.ged", tree);
        const ChildResult result = RunChild(kCli, CliOn(options, folder / "stamboom.ged"));
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return ContentsOf(folder / "Stambrix");
    }

    /// Gives the test's files to the user an unprivileged child runs as; false when that user cannot
    /// run the program (a folder on its path is closed to others).
    bool PrepareUnprivilegedChild()
    {
        stambrix::test_support::HandToUnprivilegedChild(work_.path());
        return stambrix::test_support::UnprivilegedChildCan(kCli, X_OK);
    }

    stambrix::test_support::TempFolder work_{"stambrix-failure"};
};

// ---------------------------------------------------------------------------------------------
// The disk fills up halfway through a file: a file size limit (RLIMIT_FSIZE) makes the write
// fail with EFBIG, as a full disk fails with ENOSPC. A file is written in blocks of 1 MB; the
// limit falls in the last block, written when the file is completed, or in an earlier one.

struct DiskFullCase
{
    std::string name;
    std::vector<std::string> options;
    std::size_t persons = 0;
};

std::ostream& operator<<(std::ostream& os, const DiskFullCase& c)
{
    return os << c.name;
}

class DiskFull : public FailureInjection, public ::testing::WithParamInterface<DiskFullCase>
{
};

TEST_P(DiskFull, HalfwayThroughTheLargestFileKeepsTheOlderIndex)
{
    const std::vector<std::string>& options = GetParam().options;
    const std::string tree = GeneratedGedcom(GetParam().persons);
    const FolderContents complete = CompleteRun(options, tree);
    ASSERT_FALSE(complete.empty());
    std::vector<std::pair<std::size_t, std::string>> sizes;
    for (const auto& [name, bytes] : complete)
        sizes.emplace_back(bytes.size(), name);
    std::sort(sizes.rbegin(), sizes.rend());
    // The largest file (the text index, the single page, the page of "B") breaks off in its middle;
    // every other file fits under the limit, so the run gets as far as that file.
    const std::string failed = sizes.front().second;
    const std::uint64_t limit = sizes.front().first / 2;
    ASSERT_TRUE(sizes.size() == 1 || sizes[1].first < limit) << sizes[1].second << " would fail first";
    const FolderContents before = WriteOlderIndex(options, tree);
    ASSERT_TRUE(before.contains(failed));

    ChildSetup setup = CliOn(options);
    setup.fileSizeLimit = limit;
    const ChildResult result = RunChild(kCli, setup);

    EXPECT_EQ(result.signal, 0) << "the file size signal ended the program";
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.err, "stambrix-cli: " + (Output() / failed).string() + ": File too large\n");
    EXPECT_EQ(result.out, "");
    ExpectNothingLost(before, ContentsOf(Output()));
}

INSTANTIATE_TEST_SUITE_P(Outputs, DiskFull,
                         ::testing::Values(DiskFullCase{"TextInItsLastBlock", kText, 5000},
                                           DiskFullCase{"TextInAnEarlierBlock", kText, 50000},
                                           DiskFullCase{"HtmlSinglePage", kHtmlSinglePage, 5000},
                                           DiskFullCase{"HtmlInFrame", kHtmlInFrame, 5000}),
                         [](const auto& testInfo) { return testInfo.param.name; });

// ---------------------------------------------------------------------------------------------
// The folder "Stambrix" takes no file. The child runs as an unprivileged user when the tests run
// as root, so the permission bits count.

struct UnwritableCase
{
    std::string name;
    bool fileInPlaceOfFolder = false;
};

std::ostream& operator<<(std::ostream& os, const UnwritableCase& c)
{
    return os << c.name;
}

class UnwritableOutput : public FailureInjection, public ::testing::WithParamInterface<UnwritableCase>
{
};

TEST_P(UnwritableOutput, IsReportedAndChangesNothing)
{
    const std::string tree = GeneratedGedcom(200);
    FolderContents before;
    std::string expectedErr;
    if (GetParam().fileInPlaceOfFolder) {
        WriteBytes(Gedcom(), tree);
        WriteBytes(Output(), "geen map\r\n");
        expectedErr = "stambrix-cli: " + Output().string() + ": Not a directory\n";
    } else {
        before = WriteOlderIndex(kHtmlInFrame, tree);
        // The stylesheet is reported on its own and the pages are tried all the same.
        expectedErr = "Het bestand \n" + (Output() / "genealogie.css").string() +
                      "\nkon niet aangemaakt worden.\nstambrix-cli: " + (Output() / "index.htm").string() +
                      ": Permission denied\n";
    }
    if (!PrepareUnprivilegedChild())
        GTEST_SKIP() << "user " << stambrix::test_support::kUnprivilegedId << " cannot run " << kCli;
    const auto folderPermissions = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                   fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec;
    if (!GetParam().fileInPlaceOfFolder)
        fs::permissions(Output(), folderPermissions);

    ChildSetup setup = CliOn(kHtmlInFrame);
    setup.unprivileged = true;
    const ChildResult result = RunChild(kCli, setup);

    EXPECT_EQ(result.exitCode, 3) << result.err;
    EXPECT_EQ(result.err, expectedErr);
    if (GetParam().fileInPlaceOfFolder) {
        EXPECT_EQ(ReadBytes(Output()), "geen map\r\n");
        EXPECT_EQ(stambrix::test_support::EntriesOf(Tree()), (std::set<std::string>{"Stambrix", "stamboom.ged"}));
    } else {
        EXPECT_EQ(fs::status(Output()).permissions() & fs::perms::all, folderPermissions);
        ExpectNothingLost(before, ContentsOf(Output()));
    }
}

INSTANTIATE_TEST_SUITE_P(Folders, UnwritableOutput,
                         ::testing::Values(UnwritableCase{"ReadOnlyFolder", false},
                                           UnwritableCase{"FileInPlaceOfFolder", true}),
                         [](const auto& testInfo) { return testInfo.param.name; });

// ---------------------------------------------------------------------------------------------
// The GEDCOM file fails: gone before the run, or a read error halfway through it.

// An index that does not fit in memory (an address space limit, RLIMIT_AS, stands in for a small
// machine) is reported with the GEDCOM file's path, and the older index stays. The limit is the
// smallest, in steps of 8 MB, under which the program indexes a small tree.
TEST_F(FailureInjection, IndexBeyondTheMemoryKeepsTheOlderIndex)
{
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the sanitizers reserve more address space than any limit leaves";
#else
    const fs::path small = work_.path() / "klein.ged";
    WriteBytes(small, GeneratedGedcom(2000));
    std::uint64_t limit = 24u << 20;
    for (; limit < (512u << 20); limit += 8u << 20) {
        ChildSetup setup = CliOn(kText, small);
        setup.memoryLimit = limit;
        if (RunChild(kCli, setup).exitCode == 0)
            break;
    }
    ASSERT_LT(limit, 512u << 20) << "no limit under 512 MB lets the program index a small tree";
    const FolderContents before = WriteOlderIndex(kHtmlInFrame, GeneratedGedcom(100000));

    ChildSetup setup = CliOn(kHtmlInFrame);
    setup.memoryLimit = limit;
    const ChildResult result = RunChild(kCli, setup);

    EXPECT_EQ(result.exitCode, 3) << result.err;
    EXPECT_EQ(result.err, "stambrix-cli: " + Gedcom().string() + ": Cannot allocate memory\n");
    ExpectNothingLost(before, ContentsOf(Output()));
#endif
}

TEST_F(FailureInjection, GedcomFileGoneSinceTheLastRunKeepsItsIndex)
{
    const FolderContents before = WriteOlderIndex(kText, GeneratedGedcom(200));
    fs::remove(Gedcom());

    const ChildResult result = RunChild(kCli, CliOn(kText));

    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.err, "stambrix-cli: " + Gedcom().string() + ": No such file or directory\n");
    ExpectNothingLost(before, ContentsOf(Output()));
}

// The disk refuses one page of a framed index, written after others: the run fails naming that
// page, and no page is put in place, so the older index stays whole.
TEST_F(FailureInjection, PageThatCannotBePutOnTheDiskKeepsTheOlderIndex)
{
    const FolderContents before = WriteOlderIndex(kHtmlInFrame, GeneratedGedcom(300));
    const fs::path log = work_.path() / "schijffouten.log";
    ChildSetup setup = CliOn(kHtmlInFrame);
    setup.environment = PreloadEnvironment(
        kFsyncErrorPreload, {"STAMBRIX_FSYNC_ERROR_NAME=indexm.htm", "STAMBRIX_FSYNC_ERROR_LOG=" + log.string()});

    const ChildResult result = RunChild(kCli, setup);

    const std::optional<std::string> injected = PreloadLog(log);
    if (!injected)
        GTEST_SKIP() << kCli << " does not load preloaded libraries (linked statically?): " << result.err;
    EXPECT_NE(injected->find("EIO"), std::string::npos);
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.err, "stambrix-cli: " + (Output() / "indexm.htm").string() + ": Input/output error\n");
    ExpectNothingLost(before, ContentsOf(Output()));
}

struct ReadErrorCase
{
    std::string name;
    std::size_t persons = 0;
    std::uint64_t minimumSize = 0;
    double failAt = 0; ///< the failing byte, as a part of the file size
};

std::ostream& operator<<(std::ostream& os, const ReadErrorCase& c)
{
    return os << c.name;
}

class ReadError : public FailureInjection, public ::testing::WithParamInterface<ReadErrorCase>
{
};

TEST_P(ReadError, HalfwayThroughTheGedcomFileIsReported)
{
    const ReadErrorCase& c = GetParam();
    const std::string tree = GeneratedGedcom(c.persons);
    ASSERT_GE(tree.size(), c.minimumSize);
    const FolderContents before = WriteOlderIndex(kText, tree);
    const auto failAt = static_cast<std::uint64_t>(static_cast<double>(tree.size()) * c.failAt);
    const fs::path log = work_.path() / "leesfouten.log";
    ChildSetup setup = CliOn(kText);
    setup.environment =
        PreloadEnvironment(kReadErrorPreload, {"STAMBRIX_READ_ERROR_PATH=" + fs::canonical(Gedcom()).string(),
                                               "STAMBRIX_READ_ERROR_OFFSET=" + std::to_string(failAt),
                                               "STAMBRIX_READ_ERROR_LOG=" + log.string()});

    const ChildResult result = RunChild(kCli, setup);

    const std::optional<std::string> injected = PreloadLog(log);
    if (!injected)
        GTEST_SKIP() << kCli << " does not load preloaded libraries (linked statically?): " << result.err;
    EXPECT_NE(injected->find("EIO at"), std::string::npos) << "no read reached byte " << failAt;
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.err, "stambrix-cli: " + Gedcom().string() + ": Input/output error\n");
    ExpectNothingLost(before, ContentsOf(Output()));
}

// The split read starts at 16 MB; its later half begins at the first record after the middle, so a
// bad byte three quarters in is met by the second thread.
INSTANTIATE_TEST_SUITE_P(Reads, ReadError,
                         ::testing::Values(ReadErrorCase{"OnePass", 5000, 0, 0.5},
                                           ReadErrorCase{"LaterHalfOfASplitRead", 160000, 17 << 20, 0.75}),
                         [](const auto& testInfo) { return testInfo.param.name; });

} // namespace
