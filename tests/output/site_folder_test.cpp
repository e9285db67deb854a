#include "output/site_folder.h"

#include "output/publish_journal.h"
#include "output/stale_temporary_files.h"
#include "output/temporary_files.h"
#include "test_support/child_run.h"
#include "test_support/file_bytes.h"
#include "test_support/temp_folder.h"
#include "text/run_failure.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace stambrix::output {
namespace {

namespace fs = std::filesystem;
using test_support::ChildResult;
using test_support::ChildSetup;
using test_support::ContentsOf;
using test_support::DifferencesBetween;
using test_support::EntriesOf;
using test_support::FolderContents;
using test_support::ReadBytes;
using test_support::RunChild;
using test_support::SystemReason;
using test_support::WriteBytes;

const fs::path kChild = STAMBRIX_SITE_FOLDER_CHILD_PATH;
const fs::path kRenameErrorPreload = STAMBRIX_RENAME_ERROR_PRELOAD;

// The new site of every case: the letter page b.html of the earlier site is not written again. Its
// first file is larger than any message, so a file size limit can stop it and let the message pass.
const FolderContents kNewSite = [] {
    std::string letterPage;
    for (int line = 0; line < 100; ++line)
        letterPage += "<li>nieuwe a</li>\n";
    return FolderContents{{"a.html", letterPage}, {"index.html", "<p>nieuwe index</p>"}};
}();

/// Marks the file `path` immutable, or no longer; false where the file system or the process cannot.
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

class SiteFolderTest : public ::testing::Test
{
protected:
    fs::path Output() const { return work_.path() / "Stambrix"; }
    fs::path Site() const { return Output() / kSiteFolderName; }

    void SetUp() override { fs::create_directories(Output()); }

    /// The site an earlier run left, with a letter page the new site has no more.
    FolderContents WriteEarlierSite() const
    {
        fs::create_directory(Site());
        for (const std::string name : {"index.html", "a.html", "b.html"})
            WriteBytes(Site() / name, "<p>oude " + name + "</p>");
        return ContentsOf(Site());
    }

    /// Writes `site` through a SiteFolder and publishes it.
    void WriteSite(const FolderContents& site) const
    {
        SiteFolder files(Output());
        for (const auto& [name, bytes] : site) {
            files.Open(name);
            files.Write(bytes);
            files.Close();
        }
        files.Publish();
    }

    /// The child that publishes kNewSite.
    ChildSetup Child() const
    {
        ChildSetup setup;
        setup.args = {Output().string()};
        for (const auto& [name, bytes] : kNewSite)
            setup.args.push_back(name + "=" + bytes);
        return setup;
    }

    /// The child that publishes kNewSite, with the rename library loaded and told `variables`.
    ChildSetup ChildWithRenames(std::vector<std::string> variables) const
    {
        ChildSetup setup = Child();
        const char* sanitizerOptions = std::getenv("ASAN_OPTIONS");
        variables.push_back("STAMBRIX_RENAME_ERROR_LOG=" + Log().string());
        variables.push_back("LD_PRELOAD=" + kRenameErrorPreload.string());
        // AddressSanitizer wants to be the first library; this one comes before it.
        variables.push_back(std::string("ASAN_OPTIONS=") + (sanitizerOptions != nullptr ? sanitizerOptions : "") +
                            ":verify_asan_link_order=0");
        setup.environment = std::move(variables);
        return setup;
    }

    /// What the rename library logged; empty when it was not loaded.
    std::string RenameLog() const { return fs::exists(Log()) ? ReadBytes(Log()) : std::string(); }

    /// The entries of the output folder besides the site: temporary folders, a journal.
    std::set<std::string> Leftovers() const
    {
        std::set<std::string> names = EntriesOf(Output());
        names.erase(kSiteFolderName);
        return names;
    }

    test_support::TempFolder work_{"stambrix-site"};

private:
    fs::path Log() const { return work_.path() / "renames.log"; }
};

TEST_F(SiteFolderTest, PublishReplacesTheSiteWholeAndALetterPageNotWrittenAgainIsGone)
{
    WriteEarlierSite();

    WriteSite(kNewSite);

    EXPECT_EQ(DifferencesBetween(kNewSite, ContentsOf(Site())), "");
    EXPECT_EQ(Leftovers(), std::set<std::string>{});
}

TEST_F(SiteFolderTest, FirstSiteMakesTheFolder)
{
    WriteSite(kNewSite);

    EXPECT_EQ(DifferencesBetween(kNewSite, ContentsOf(Site())), "");
    EXPECT_EQ(Leftovers(), std::set<std::string>{});
}

TEST_F(SiteFolderTest, NewSiteTakesOverTheFolderPermissions)
{
    WriteEarlierSite();
    fs::permissions(Site(),
                    fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read | fs::perms::group_exec);

    WriteSite(kNewSite);

    EXPECT_EQ(fs::status(Site()).permissions(),
              fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read | fs::perms::group_exec);
    EXPECT_EQ(DifferencesBetween(kNewSite, ContentsOf(Site())), "");
    EXPECT_EQ(Leftovers(), std::set<std::string>{});
}

// What a signal handler does while the site is written: the new folder goes with its files.
TEST_F(SiteFolderTest, RemoveTemporaryFilesRemovesTheNewFolder)
{
    const FolderContents earlier = WriteEarlierSite();
    // In a process of its own: the registry keeps what it has removed, as the process ends then.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        SiteFolder files(Output());
        for (const std::string name : {"index.html", "a.html"}) {
            files.Open(name);
            files.Write("half");
        }
        RemoveTemporaryFiles();
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child failed: status " << status;

    EXPECT_EQ(DifferencesBetween(earlier, ContentsOf(Site())), "");
    EXPECT_EQ(Leftovers(), std::set<std::string>{});
}

struct NotAFolderCase
{
    std::string name;
    std::string reason;
    bool link = false;
};

class NotAFolder : public SiteFolderTest, public ::testing::WithParamInterface<NotAFolderCase>
{
};

// A file or a link named web is the user's: the run refuses it by name, never follows the link and
// removes nothing.
TEST_P(NotAFolder, IsRefusedAndLeftAlone)
{
    const fs::path elsewhere = work_.path() / "elders";
    fs::create_directory(elsewhere);
    WriteBytes(elsewhere / "index.html", "van de gebruiker");
    if (GetParam().link)
        fs::create_directory_symlink(elsewhere, Site());
    else
        WriteBytes(Site(), "van de gebruiker");

    try {
        WriteSite(kNewSite);
        FAIL() << "the site was published";
    } catch (const text::RunFailure& failure) {
        EXPECT_EQ(failure.path(), Site().string());
        EXPECT_EQ(failure.reason(), GetParam().reason);
    }

    EXPECT_EQ(fs::is_symlink(Site()), GetParam().link);
    if (!GetParam().link) {
        EXPECT_EQ(ReadBytes(Site()), "van de gebruiker");
    }
    EXPECT_EQ(ContentsOf(elsewhere), (FolderContents{{"index.html", "van de gebruiker"}}));
    EXPECT_EQ(Leftovers(), std::set<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    SiteFolderTest, NotAFolder,
    ::testing::Values(NotAFolderCase{"File",
                                     "is een bestand, geen map; de website komt in een map met deze naam: hernoem "
                                     "of verplaats het bestand",
                                     false},
                      NotAFolderCase{"SymbolicLink",
                                     "is een symbolische koppeling, geen map; de website komt in een eigen map "
                                     "met deze naam: hernoem of verwijder de koppeling",
                                     true}),
    [](const auto& testInfo) { return testInfo.param.name; });

// The disk fills up in the first file: a file size limit makes its write fail, as a full disk does.
TEST_F(SiteFolderTest, DiskFullNamesTheFileAndKeepsTheEarlierSite)
{
    const FolderContents earlier = WriteEarlierSite();
    ChildSetup setup = Child();
    setup.fileSizeLimit = kNewSite.begin()->second.size() / 2;

    const ChildResult result = RunChild(kChild, setup);

    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.err, (Site() / kNewSite.begin()->first).string() + ": " + SystemReason(EFBIG) + "\n");
    EXPECT_EQ(DifferencesBetween(earlier, ContentsOf(Site())), "");
    EXPECT_EQ(Leftovers(), std::set<std::string>{});
}

// An output folder that takes no new folder, for a user other than root.
TEST_F(SiteFolderTest, ReadOnlyOutputFolderNamesTheSiteAndKeepsIt)
{
    const FolderContents earlier = WriteEarlierSite();
    test_support::HandToUnprivilegedChild(work_.path());
    if (!test_support::UnprivilegedChildCan(kChild, X_OK))
        GTEST_SKIP() << "user " << test_support::kUnprivilegedId << " cannot run " << kChild;
    fs::permissions(Output(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    ChildSetup setup = Child();
    setup.unprivileged = true;

    const ChildResult result = RunChild(kChild, setup);

    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.err, Site().string() + ": " + SystemReason(EACCES) + "\n");
    EXPECT_EQ(DifferencesBetween(earlier, ContentsOf(Site())), "");
    EXPECT_EQ(Leftovers(), std::set<std::string>{});
}

struct RenameCase
{
    std::string name;
    std::vector<std::string> variables; // for the rename library
};

class FailingRename : public SiteFolderTest, public ::testing::WithParamInterface<RenameCase>
{
};

TEST_P(FailingRename, KeepsTheEarlierSiteAndLeavesNoTemporaryFolder)
{
    const FolderContents earlier = WriteEarlierSite();

    const ChildResult result = RunChild(kChild, ChildWithRenames(GetParam().variables));

    ASSERT_NE(RenameLog().find("EPERM"), std::string::npos) << "no rename was made to fail: " << RenameLog();
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.err, Site().string() + ": " + SystemReason(EPERM) + "\n");
    EXPECT_EQ(DifferencesBetween(earlier, ContentsOf(Site())), "");
    EXPECT_EQ(Leftovers(), std::set<std::string>{}) << "no journal and no temporary folder may stay";
}

// Without an exchange the journal's own rename is the first, the earlier site going aside the second.
INSTANTIATE_TEST_SUITE_P(
    SiteFolderTest, FailingRename,
    ::testing::Values(RenameCase{"Exchange", {"STAMBRIX_RENAME_ERROR_AT=1"}},
                      RenameCase{"EarlierSiteAside", {"STAMBRIX_RENAME_NO_EXCHANGE=1", "STAMBRIX_RENAME_ERROR_AT=2"}},
                      RenameCase{"NewSiteInPlace", {"STAMBRIX_RENAME_NO_EXCHANGE=1", "STAMBRIX_RENAME_ERROR_AT=3"}}),
    [](const auto& testInfo) { return testInfo.param.name; });

TEST_F(SiteFolderTest, FileSystemWithoutExchangePublishesByTwoRenames)
{
    WriteEarlierSite();

    const ChildResult result = RunChild(kChild, ChildWithRenames({"STAMBRIX_RENAME_NO_EXCHANGE=1"}));

    ASSERT_NE(RenameLog().find("EINVAL"), std::string::npos) << "the exchange was not refused: " << RenameLog();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(DifferencesBetween(kNewSite, ContentsOf(Site())), "");
    EXPECT_EQ(Leftovers(), std::set<std::string>{}) << "no journal and no earlier site may stay";
}

struct CrashCase
{
    std::string name;
    std::string killedAt; // the rename after which the child is killed: the journal's own is the first
};

class CrashWithoutExchange : public SiteFolderTest, public ::testing::WithParamInterface<CrashCase>
{
};

TEST_P(CrashWithoutExchange, IsUndoneByTheNextRun)
{
    const FolderContents earlier = WriteEarlierSite();

    const ChildResult crashed =
        RunChild(kChild, ChildWithRenames({"STAMBRIX_RENAME_NO_EXCHANGE=1", "STAMBRIX_RENAME_ERROR_KILL=1",
                                           "STAMBRIX_RENAME_ERROR_AT=" + GetParam().killedAt}));
    ASSERT_EQ(crashed.signal, SIGKILL) << RenameLog() << crashed.err;
    ASSERT_TRUE(Leftovers().contains(kPublishJournalName));

    TidyAfterKilledRuns(Output());

    EXPECT_EQ(DifferencesBetween(earlier, ContentsOf(Site())), "");
    EXPECT_EQ(Leftovers(), std::set<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(SiteFolderTest, CrashWithoutExchange,
                         ::testing::Values(CrashCase{"AfterTheEarlierSiteWentAside", "2"},
                                           CrashCase{"AfterTheNewSiteTookItsPlace", "3"}),
                         [](const auto& testInfo) { return testInfo.param.name; });

// A page of the earlier site that cannot be removed (immutable) leaves that site under its temporary
// name: the new site stands all the same, and the next run removes what is left once it can.
TEST_F(SiteFolderTest, EarlierSiteThatCannotBeRemovedIsLeftForTheNextRun)
{
    WriteEarlierSite();
    if (!SetImmutable(Site() / "b.html", true))
        GTEST_SKIP() << "this machine does not let the test make a file immutable";

    WriteSite(kNewSite);

    EXPECT_EQ(DifferencesBetween(kNewSite, ContentsOf(Site())), "");
    const std::set<std::string> left = Leftovers();
    ASSERT_FALSE(left.empty()) << "the immutable page went";
    for (const std::string& name : left) {
        EXPECT_TRUE(IsTemporarySiteFolderName(name)) << name;
        SetImmutable(Output() / name / "b.html", false);
    }
    TidyAfterKilledRuns(Output());
    EXPECT_EQ(Leftovers(), std::set<std::string>{});
}

// A site folder a killed run left goes with the next run; a user's folder of a like name stays.
TEST_F(SiteFolderTest, TemporarySiteFolderOfAKilledRunIsTidied)
{
    const fs::path left = Output() / ".stambrix-web.4194303.52.3.0.tmp";
    fs::create_directory(left);
    WriteBytes(left / "a.html", "half");
    fs::create_directory(Output() / ".stambrix-website.1.2.3.4.tmp");

    TidyAfterKilledRuns(Output());

    EXPECT_EQ(Leftovers(), std::set<std::string>{".stambrix-website.1.2.3.4.tmp"});
}

} // namespace
} // namespace stambrix::output
