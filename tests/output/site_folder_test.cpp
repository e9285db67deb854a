#include "output/site_folder.h"

#include "output/stale_temporary_files.h"
#include "test_support/child_run.h"
#include "test_support/file_bytes.h"
#include "test_support/temp_folder.h"
#include "text/run_failure.h"

#include <gtest/gtest.h>

#include <ostream>

#include <unistd.h>

#include <cerrno>
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
const FolderContents kNewSite = {{"a.html", std::string(2000, 'a')}, {"index.html", "<p>nieuwe index</p>"}};

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

    /// Writes kNewSite through a SiteFolder and publishes it.
    void WriteNewSite() const
    {
        SiteFolder files(Output());
        for (const auto& [name, bytes] : kNewSite) {
            files.Open(name);
            files.Write(bytes);
            files.Close();
        }
        files.Publish();
    }

    /// The child that publishes kNewSite, with the rename library told `variables` where there are any.
    ChildSetup Child(const std::vector<std::string>& variables = {}) const
    {
        ChildSetup setup;
        setup.args = {Output().string()};
        for (const auto& [name, bytes] : kNewSite)
            setup.args.push_back(std::string(name).append("=").append(bytes));
        if (!variables.empty()) {
            setup.environment = test_support::WithPreload(variables, kRenameErrorPreload);
            setup.environment.push_back("STAMBRIX_RENAME_ERROR_LOG=" + Log().string());
        }
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

    WriteNewSite();

    EXPECT_EQ(DifferencesBetween(kNewSite, ContentsOf(Site())), "");
    EXPECT_EQ(Leftovers(), std::set<std::string>{});
}

TEST_F(SiteFolderTest, NewSiteTakesOverTheFolderPermissions)
{
    WriteEarlierSite();
    const fs::perms readOnly =
        fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read | fs::perms::group_exec;
    fs::permissions(Site(), readOnly);

    WriteNewSite();

    EXPECT_EQ(fs::status(Site()).permissions(), readOnly);
}

TEST_F(SiteFolderTest, FileSystemWithoutExchangePublishesByTwoRenames)
{
    WriteEarlierSite();

    const ChildResult result = RunChild(kChild, Child({"STAMBRIX_RENAME_NO_EXCHANGE=1"}));

    ASSERT_NE(RenameLog().find("EINVAL"), std::string::npos) << "the exchange was not refused: " << RenameLog();
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(DifferencesBetween(kNewSite, ContentsOf(Site())), "");
    EXPECT_EQ(Leftovers(), std::set<std::string>{}) << "no journal and no earlier site may stay";
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

struct NotAFolderCase
{
    std::string name;
    std::string reason;
    bool link = false;
};

// A failing case names itself, not its bytes.
void PrintTo(const NotAFolderCase& testCase, std::ostream* out)
{
    *out << testCase.name;
}

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
        WriteNewSite();
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

struct FailureCase
{
    std::string name{};
    std::vector<std::string> variables{}; // for the rename library; the journal's own rename is the first
    bool fillsTheDisk = false;            // a file size limit stops the first page, as a full disk does
    bool readOnlyOutput = false;          // the output folder takes no new folder
    std::string path{};                   // of the message, in the output folder
    int error = 0;
};

// A failing case names itself, not its bytes.
void PrintTo(const FailureCase& testCase, std::ostream* out)
{
    *out << testCase.name;
}

class FailedPublish : public SiteFolderTest, public ::testing::WithParamInterface<FailureCase>
{
};

TEST_P(FailedPublish, NamesPathAndReasonAndKeepsTheEarlierSiteWithoutTemporaryFolder)
{
    const FolderContents earlier = WriteEarlierSite();
    ChildSetup setup = Child(GetParam().variables);
    if (GetParam().fillsTheDisk)
        setup.fileSizeLimit = kNewSite.begin()->second.size() / 2;
    if (GetParam().readOnlyOutput) {
        test_support::HandToUnprivilegedChild(work_.path());
        if (!test_support::UnprivilegedChildCan(kChild, X_OK))
            GTEST_SKIP() << "user " << test_support::kUnprivilegedId << " cannot run " << kChild;
        fs::permissions(Output(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                        fs::perm_options::remove);
        setup.unprivileged = true;
    }

    const ChildResult result = RunChild(kChild, setup);

    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.err, (Output() / GetParam().path).string() + ": " + SystemReason(GetParam().error) + "\n")
        << RenameLog();
    EXPECT_EQ(DifferencesBetween(earlier, ContentsOf(Site())), "");
    EXPECT_EQ(Leftovers(), std::set<std::string>{}) << "no journal and no temporary folder may stay";
}

INSTANTIATE_TEST_SUITE_P(
    SiteFolderTest, FailedPublish,
    ::testing::Values(
        FailureCase{.name = "DiskFull", .fillsTheDisk = true, .path = "web/a.html", .error = EFBIG},
        FailureCase{.name = "ReadOnlyOutputFolder", .readOnlyOutput = true, .path = "web", .error = EACCES},
        FailureCase{.name = "Exchange", .variables = {"STAMBRIX_RENAME_ERROR_AT=1"}, .path = "web", .error = EPERM},
        FailureCase{.name = "EarlierSiteAside",
                    .variables = {"STAMBRIX_RENAME_NO_EXCHANGE=1", "STAMBRIX_RENAME_ERROR_AT=2"},
                    .path = "web",
                    .error = EPERM},
        FailureCase{.name = "NewSiteInPlace",
                    .variables = {"STAMBRIX_RENAME_NO_EXCHANGE=1", "STAMBRIX_RENAME_ERROR_AT=3"},
                    .path = "web",
                    .error = EPERM}),
    [](const auto& testInfo) { return testInfo.param.name; });

} // namespace
} // namespace stambrix::output
