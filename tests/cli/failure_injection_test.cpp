#include "output/folder_lock.h"
#include "test_support/child_run.h"
#include "test_support/cli_run.h"
#include "test_support/generated_gedcom.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
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
using stambrix::test_support::SystemReason;
using stambrix::test_support::WriteBytes;

const fs::path kCli = STAMBRIX_CLI_PATH;
const fs::path kReadErrorPreload = STAMBRIX_READ_ERROR_PRELOAD;
const fs::path kFsyncErrorPreload = STAMBRIX_FSYNC_ERROR_PRELOAD;
const fs::path kRenameErrorPreload = STAMBRIX_RENAME_ERROR_PRELOAD;

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
    EXPECT_EQ(result.err, "stambrix-cli: " + (Output() / failed).string() + ": " + SystemReason(EFBIG) + "\n");
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
        expectedErr = "stambrix-cli: " + Output().string() + ": " + SystemReason(ENOTDIR) + "\n";
    } else {
        before = WriteOlderIndex(kHtmlInFrame, tree);
        // The stylesheet is reported on its own and the pages are tried all the same.
        expectedErr = "stambrix-cli: Het bestand " + (Output() / "genealogie.css").string() +
                      " kon niet aangemaakt worden: " + SystemReason(EACCES) +
                      "\nstambrix-cli: " + (Output() / "index.htm").string() + ": " + SystemReason(EACCES) + "\n";
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

// Sets or clears the immutable flag of `path`; false where the machine does not allow it.
bool SetImmutable(const fs::path& path, bool immutable)
{
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    long flags = 0;
    bool set = fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    flags = immutable ? (flags | FS_IMMUTABLE_FL) : (flags & ~static_cast<long>(FS_IMMUTABLE_FL));
    set = set && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
    if (fd >= 0)
        close(fd);
    return set;
}

// What refuses a rename though its bits allow writing is found before anything is renamed: an
// immutable page ends the run and every earlier page stays; an immutable stylesheet is reported and
// the pages are written.
TEST_F(FailureInjection, ImmutableFilesAreFoundBeforeAnyRename)
{
    const std::string tree = GeneratedGedcom(300);
    const FolderContents complete = CompleteRun(kHtmlInFrame, tree);
    const FolderContents before = WriteOlderIndex(kHtmlInFrame, tree);
    if (!SetImmutable(Output() / "indexm.htm", true))
        GTEST_SKIP() << "this machine does not let the test make a file immutable";

    ChildResult result = RunChild(kCli, CliOn(kHtmlInFrame));
    SetImmutable(Output() / "indexm.htm", false);

    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.err, "stambrix-cli: " + (Output() / "indexm.htm").string() + ": " + SystemReason(EPERM) + "\n");
    ExpectNothingLost(before, ContentsOf(Output()));

    ASSERT_TRUE(SetImmutable(Output() / "genealogie.css", true));
    result = RunChild(kCli, CliOn(kHtmlInFrame));
    SetImmutable(Output() / "genealogie.css", false);

    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.err, "stambrix-cli: Het bestand " + (Output() / "genealogie.css").string() +
                              " kon niet aangemaakt worden: " + SystemReason(EPERM) + "\n");
    FolderContents expected = complete;
    expected["genealogie.css"] = before.at("genealogie.css");
    expected["aantekeningen.txt"] = before.at("aantekeningen.txt");
    EXPECT_EQ(DifferencesBetween(expected, ContentsOf(Output())), "");
}

// In a shared sticky folder a page of another user cannot be replaced by this one: found before any
// rename, so the pages of this user are not replaced either.
TEST_F(FailureInjection, PageOfAnotherUserInAStickyFolderIsFoundBeforeAnyRename)
{
    if (!stambrix::test_support::RunsAsRoot())
        GTEST_SKIP() << "only root can make a page of another user beside those of the run's user";
    const FolderContents before = WriteOlderIndex(kHtmlInFrame, GeneratedGedcom(300));
    if (!PrepareUnprivilegedChild())
        GTEST_SKIP() << "user " << stambrix::test_support::kUnprivilegedId << " cannot run " << kCli;
    ASSERT_EQ(chown(Output().c_str(), 0, 0), 0);
    fs::permissions(Output(), static_cast<fs::perms>(01777));
    ASSERT_EQ(chown((Output() / "indexm.htm").c_str(), 0, 0), 0);

    ChildSetup setup = CliOn(kHtmlInFrame);
    setup.unprivileged = true;
    const ChildResult result = RunChild(kCli, setup);

    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.err, "stambrix-cli: " + (Output() / "indexm.htm").string() + ": " + SystemReason(EPERM) + "\n");
    ExpectNothingLost(before, ContentsOf(Output()));
}

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
    EXPECT_EQ(result.err, "stambrix-cli: " + Gedcom().string() + ": " + SystemReason(ENOMEM) + "\n");
    ExpectNothingLost(before, ContentsOf(Output()));
#endif
}

TEST_F(FailureInjection, GedcomFileGoneSinceTheLastRunKeepsItsIndex)
{
    const FolderContents before = WriteOlderIndex(kText, GeneratedGedcom(200));
    fs::remove(Gedcom());

    const ChildResult result = RunChild(kCli, CliOn(kText));

    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.err, "stambrix-cli: " + Gedcom().string() + ": " + SystemReason(ENOENT) + "\n");
    ExpectNothingLost(before, ContentsOf(Output()));
}

// The disk cannot make one file of the new index durable: a page of a framed index, written after
// others, or the new website as a whole. The run fails naming it, and nothing is put in place, so the
// older index, an earlier website included, stays whole.
struct SyncCase
{
    std::string name;
    std::vector<std::string> options;
    std::string failing; // the file or folder of the index whose sync fails
};

std::ostream& operator<<(std::ostream& os, const SyncCase& c)
{
    return os << c.name;
}

class SyncFailure : public FailureInjection, public ::testing::WithParamInterface<SyncCase>
{
};

TEST_P(SyncFailure, NamesWhatCannotBePutOnTheDiskAndKeepsTheOlderIndex)
{
    const SyncCase& c = GetParam();
    const FolderContents before = WriteOlderIndex(c.options, GeneratedGedcom(300));
    const FolderContents earlierSite = ContentsOf(Output() / "web");
    const fs::path log = work_.path() / "schijffouten.log";
    ChildSetup setup = CliOn(c.options);
    setup.environment = PreloadEnvironment(
        kFsyncErrorPreload, {"STAMBRIX_FSYNC_ERROR_NAME=" + c.failing, "STAMBRIX_FSYNC_ERROR_LOG=" + log.string()});

    const ChildResult result = RunChild(kCli, setup);

    const std::optional<std::string> injected = PreloadLog(log);
    if (!injected)
        GTEST_SKIP() << kCli << " does not load preloaded libraries (linked statically?): " << result.err;
    EXPECT_NE(injected->find("EIO"), std::string::npos);
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.err, "stambrix-cli: " + (Output() / c.failing).string() + ": " + SystemReason(EIO) + "\n");
    ExpectNothingLost(before, ContentsOf(Output()));
    EXPECT_EQ(DifferencesBetween(earlierSite, ContentsOf(Output() / "web")), "");
    EXPECT_EQ(ContentsOf(Output() / "web").size(), earlierSite.size());
}

INSTANTIATE_TEST_SUITE_P(FailureInjection, SyncFailure,
                         ::testing::Values(SyncCase{"FramedPage", kHtmlInFrame, "indexm.htm"},
                                           SyncCase{"Website", {"--uitvoer", "web"}, "web"}),
                         [](const ::testing::TestParamInfo<SyncCase>& sync) { return sync.param.name; });

// One rename of those that put an index in place fails (as for an immutable page the checks
// beforehand cannot see): the first, one halfway and the last. The files renamed before it are put
// back, so every earlier file stays, a framed page set that a single page replaces included.
struct RenameCase
{
    std::string name;
    std::vector<std::string> options;
};

std::ostream& operator<<(std::ostream& os, const RenameCase& c)
{
    return os << c.name;
}

class RenameFailure : public FailureInjection, public ::testing::WithParamInterface<RenameCase>
{
protected:
    /// The renames of a run of the case after a framed run of a smaller tree, as the library logs
    /// them ("rename <from> <to>"); the folder is that of the earlier run again afterwards.
    std::vector<std::string> RenamesOfARun(const std::string& tree)
    {
        WriteOlderIndex(kHtmlInFrame, tree);
        const fs::path log = work_.path() / "hernoemd.log";
        ChildSetup setup = CliOn(GetParam().options);
        setup.environment = PreloadEnvironment(kRenameErrorPreload, {"STAMBRIX_RENAME_ERROR_LOG=" + log.string()});
        const ChildResult result = RunChild(kCli, setup);
        EXPECT_EQ(result.exitCode, 0) << result.err;
        return RenamesLogged(log);
    }

    /// The renames the library logged into `log`, one "rename <from> <to>" each.
    static std::vector<std::string> RenamesLogged(const fs::path& log)
    {
        std::vector<std::string> renames;
        const std::string logged = PreloadLog(log).value_or("");
        for (std::size_t at = logged.find("rename "); at != std::string::npos; at = logged.find("rename ", at + 1))
            renames.push_back(logged.substr(at, logged.find('\n', at) - at));
        return renames;
    }

    /// The file a logged rename stands for: its target, or the file it sets aside.
    static std::string FileOf(const std::string& rename)
    {
        const auto second = rename.find(' ', 7);
        const std::string from = rename.substr(7, second - 7);
        return from.starts_with('.') ? rename.substr(second + 1) : from;
    }

    enum class Disturbance
    {
        Fail,
        Signal,
        Kill,
    };

    /// stambrix-cli with the case's options, the renames numbered `at` ("3" or "3,4") disturbed as
    /// `how` says; the library logs into `log` where one is given.
    ChildSetup CliDisturbingRename(const std::string& at, Disturbance how, const fs::path& log = {}) const
    {
        ChildSetup setup = CliOn(GetParam().options);
        std::vector<std::string> variables = {"STAMBRIX_RENAME_ERROR_AT=" + at};
        if (how == Disturbance::Signal)
            variables.push_back("STAMBRIX_RENAME_ERROR_SIGNAL=1");
        if (how == Disturbance::Kill)
            variables.push_back("STAMBRIX_RENAME_ERROR_KILL=1");
        if (!log.empty())
            variables.push_back("STAMBRIX_RENAME_ERROR_LOG=" + log.string());
        setup.environment = PreloadEnvironment(kRenameErrorPreload, variables);
        return setup;
    }
};

TEST_P(RenameFailure, AtTheFirstAMiddleOrTheLastFileKeepsEveryEarlierFile)
{
    const std::string tree = GeneratedGedcom(300);
    const std::vector<std::string> renames = RenamesOfARun(tree);
    if (renames.empty())
        GTEST_SKIP() << kCli << " does not load preloaded libraries (linked statically?)";
    for (const std::size_t at : {std::size_t{1}, renames.size() / 2, renames.size()}) {
        const FolderContents before = WriteOlderIndex(kHtmlInFrame, tree);

        const ChildResult result = RunChild(kCli, CliDisturbingRename(std::to_string(at), Disturbance::Fail));

        EXPECT_EQ(result.exitCode, 3) << "rename " << at << " of " << renames.size();
        EXPECT_EQ(result.err,
                  "stambrix-cli: " + (Output() / FileOf(renames[at - 1])).string() + ": " + SystemReason(EPERM) + "\n")
            << renames[at - 1];
        ExpectNothingLost(before, ContentsOf(Output()));
    }
}

// A signal that arrives while the files are put in place is held until they all are: the run then
// says that the index is whole, as it is.
TEST_P(RenameFailure, SignalDuringTheRenamesEndsWithTheWholeIndex)
{
    const std::string tree = GeneratedGedcom(300);
    const std::vector<std::string> renames = RenamesOfARun(tree);
    if (renames.empty())
        GTEST_SKIP() << kCli << " does not load preloaded libraries (linked statically?)";
    FolderContents complete = CompleteRun(GetParam().options, tree);
    WriteOlderIndex(kHtmlInFrame, tree);
    complete.emplace("aantekeningen.txt", ReadBytes(Output() / "aantekeningen.txt"));

    const ChildResult result = RunChild(kCli, CliDisturbingRename(std::to_string(renames.size()), Disturbance::Signal));

    EXPECT_EQ(result.signal, 0);
    EXPECT_EQ(result.exitCode, 128 + SIGTERM);
    EXPECT_EQ(result.err, "stambrix-cli: onderbroken door SIGTERM; de index was al volledig geschreven\n");
    EXPECT_EQ(DifferencesBetween(complete, ContentsOf(Output())), "");
    EXPECT_EQ(ContentsOf(Output()).size(), complete.size());
}

// The process dies between two renames, as in a crash or a power cut: right after the first, one
// halfway or the last. The next run, of another kind, first puts every earlier file back, so the
// folder then holds the earlier set whole beside that run's own index, and nothing of the crashed run.
TEST_P(RenameFailure, CrashBetweenTwoRenamesIsUndoneByTheNextRunOfAnotherKind)
{
    const std::string tree = GeneratedGedcom(300);
    const std::vector<std::string> renames = RenamesOfARun(tree);
    if (renames.empty())
        GTEST_SKIP() << kCli << " does not load preloaded libraries (linked statically?)";
    const std::string textIndex = CompleteRun(kText, tree).at("Namen.txt");
    for (const std::size_t at : {std::size_t{1}, renames.size() / 2, renames.size()}) {
        FolderContents expected = WriteOlderIndex(kHtmlInFrame, tree);

        const ChildResult crashed = RunChild(kCli, CliDisturbingRename(std::to_string(at), Disturbance::Kill));
        ASSERT_EQ(crashed.signal, SIGKILL) << "rename " << at << " of " << renames.size() << ": " << crashed.err;
        const ChildResult next = RunChild(kCli, CliOn(kText));

        EXPECT_EQ(next.exitCode, 0) << next.err;
        expected["Namen.txt"] = textIndex;
        EXPECT_EQ(DifferencesBetween(expected, ContentsOf(Output())), "")
            << "killed after rename " << at << " of " << renames.size() << ": " << renames[at - 1];
    }
}

// A rename fails, and putting back the file renamed before it fails too: the run names the file it
// could not put back on a line of its own, and the next run puts it back.
TEST_P(RenameFailure, FileThatCannotBePutBackIsNamedAndPutBackByTheNextRun)
{
    const std::string tree = GeneratedGedcom(300);
    const std::vector<std::string> renames = RenamesOfARun(tree);
    if (renames.empty())
        GTEST_SKIP() << kCli << " does not load preloaded libraries (linked statically?)";
    const std::string textIndex = CompleteRun(kText, tree).at("Namen.txt");
    FolderContents expected = WriteOlderIndex(kHtmlInFrame, tree);
    const std::size_t at = renames.size() / 2;
    const fs::path log = work_.path() / "terugzetten.log";

    const ChildResult result =
        RunChild(kCli, CliDisturbingRename(std::to_string(at) + "," + std::to_string(at + 1), Disturbance::Fail, log));

    const std::vector<std::string> tried = RenamesLogged(log);
    ASSERT_GT(tried.size(), at) << result.err;
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.err, "stambrix-cli: " + (Output() / FileOf(tried[at - 1])).string() + ": " + SystemReason(EPERM) +
                              "\n" + (Output() / FileOf(tried[at])).string() + ": kon niet teruggezet worden: " +
                              SystemReason(EPERM) + "; de volgende run in deze map zet het terug\n");

    const ChildResult next = RunChild(kCli, CliOn(kText));

    EXPECT_EQ(next.exitCode, 0) << next.err;
    expected["Namen.txt"] = textIndex;
    EXPECT_EQ(DifferencesBetween(expected, ContentsOf(Output())), "");
}

INSTANTIATE_TEST_SUITE_P(Layouts, RenameFailure,
                         ::testing::Values(RenameCase{"Framed", kHtmlInFrame},
                                           RenameCase{"SinglePageAfterFramed", kHtmlSinglePage}),
                         [](const auto& testInfo) { return testInfo.param.name; });

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
    EXPECT_EQ(result.err, "stambrix-cli: " + Gedcom().string() + ": " + SystemReason(EIO) + "\n");
    ExpectNothingLost(before, ContentsOf(Output()));
}

// The GEDCOM file is written again while it is read, as a genealogy program exporting anew does:
// nothing is written, the run says so, and the older index stays.
TEST_F(FailureInjection, GedcomFileChangedWhileReadIsRefused)
{
    const std::string tree = GeneratedGedcom(5000);
    const FolderContents before = WriteOlderIndex(kText, tree);
    const fs::path log = work_.path() / "veranderd.log";
    ChildSetup setup = CliOn(kText);
    setup.environment =
        PreloadEnvironment(kReadErrorPreload, {"STAMBRIX_READ_ERROR_PATH=" + fs::canonical(Gedcom()).string(),
                                               "STAMBRIX_READ_ERROR_OFFSET=" + std::to_string(tree.size() / 2),
                                               "STAMBRIX_READ_ERROR_APPEND=0 @I999999@ INDI\r\n",
                                               "STAMBRIX_READ_ERROR_LOG=" + log.string()});

    const ChildResult result = RunChild(kCli, setup);

    const std::optional<std::string> injected = PreloadLog(log);
    if (!injected)
        GTEST_SKIP() << kCli << " does not load preloaded libraries (linked statically?): " << result.err;
    EXPECT_NE(injected->find("appended at"), std::string::npos);
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.err,
              "stambrix-cli: " + Gedcom().string() + ": het bestand is veranderd terwijl het gelezen werd\n");
    ExpectNothingLost(before, ContentsOf(Output()));
}

// The split read starts at 16 MB; its later half begins at the first record after the middle, so a
// bad byte three quarters in is met by the second thread.
INSTANTIATE_TEST_SUITE_P(Reads, ReadError,
                         ::testing::Values(ReadErrorCase{"OnePass", 5000, 0, 0.5},
                                           ReadErrorCase{"LaterHalfOfASplitRead", 160000, 17 << 20, 0.75}),
                         [](const auto& testInfo) { return testInfo.param.name; });

} // namespace
