#include "test_support/child_run.h"
#include "test_support/cli_run.h"
#include "test_support/generated_gedcom.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

// A run that replaces the files of an earlier one gives each new file the permission bits of the file
// it replaces, and its owner and group where the run may give them; a file that is new gets the default.
namespace {

namespace fs = std::filesystem;
using stambrix::test_support::ChildResult;
using stambrix::test_support::ChildSetup;
using stambrix::test_support::GeneratedGedcom;
using stambrix::test_support::kUnprivilegedId;
using stambrix::test_support::ReadBytes;
using stambrix::test_support::RunChild;
using stambrix::test_support::RunsAsRoot;
using stambrix::test_support::WriteBytes;

const fs::path kCli = STAMBRIX_CLI_PATH;
const std::vector<std::string> kText = {};
const std::vector<std::string> kHtmlInFrame = {"--uitvoer", "html", "--in-frame"};

struct stat StatusOf(const fs::path& file)
{
    struct stat status = {};
    EXPECT_EQ(stat(file.c_str(), &status), 0) << file;
    return status;
}

mode_t PermissionsOf(const fs::path& file)
{
    return StatusOf(file).st_mode & 07777;
}

// A group other than its own that this process may give its files: any group for root, else one it
// belongs to besides its own.
std::optional<gid_t> AnotherGroupOfThisProcess()
{
    if (RunsAsRoot())
        return kUnprivilegedId;
    std::vector<gid_t> groups(static_cast<std::size_t>(getgroups(0, nullptr)));
    groups.resize(static_cast<std::size_t>(getgroups(static_cast<int>(groups.size()), groups.data())));
    for (const gid_t group : groups)
        if (group != getegid())
            return group;
    return std::nullopt;
}

class ReplacedFiles : public ::testing::Test
{
protected:
    fs::path Gedcom() const { return work_.path() / "stamboom.ged"; }
    fs::path Output() const { return work_.path() / "Stambrix"; }

    // The runs' default permissions are known: 0644 for a new file.
    void SetUp() override { umask_ = umask(022); }
    void TearDown() override { umask(umask_); }

    /// stambrix-cli, quiet, with `options` on the tree; it must succeed.
    void Run(const std::vector<std::string>& options, bool unprivileged = false)
    {
        ChildSetup setup;
        setup.args = options;
        setup.args.insert(setup.args.end(), {"-q", Gedcom().string()});
        setup.unprivileged = unprivileged;
        const ChildResult result = RunChild(kCli, setup);
        EXPECT_EQ(result.exitCode, 0) << result.err;
    }

    mode_t umask_ = 0;
    stambrix::test_support::TempFolder work_{"stambrix-replaced"};
};

TEST_F(ReplacedFiles, KeepTheirPermissionBits)
{
    WriteBytes(Gedcom(), GeneratedGedcom(40));
    Run(kText);
    Run(kHtmlInFrame);
    const std::map<std::string, mode_t> permissions = {
        {"Namen.txt", 0600}, {"genealogie.css", 0640}, {"index.htm", 0604}, {"indexb.htm", 0660}};
    for (const auto& [name, bits] : permissions)
        fs::permissions(Output() / name, static_cast<fs::perms>(bits));
    const std::string earlierIndex = ReadBytes(Output() / "Namen.txt");

    WriteBytes(Gedcom(), GeneratedGedcom(200));
    Run(kText);
    Run(kHtmlInFrame);

    EXPECT_GT(ReadBytes(Output() / "Namen.txt").size(), earlierIndex.size()) << "the index was not replaced";
    for (const auto& [name, bits] : permissions)
        EXPECT_EQ(PermissionsOf(Output() / name), bits) << name;
}

TEST_F(ReplacedFiles, KeepTheirGroup)
{
    const std::optional<gid_t> group = AnotherGroupOfThisProcess();
    if (!group)
        GTEST_SKIP() << "this user belongs to no group but its own, so a file of another group cannot be made";
    WriteBytes(Gedcom(), GeneratedGedcom(40));
    Run(kText);
    ASSERT_EQ(chown((Output() / "Namen.txt").c_str(), static_cast<uid_t>(-1), *group), 0);
    fs::permissions(Output() / "Namen.txt", static_cast<fs::perms>(0640));

    Run(kText);

    EXPECT_EQ(StatusOf(Output() / "Namen.txt").st_gid, *group);
    EXPECT_EQ(PermissionsOf(Output() / "Namen.txt"), 0640u);
}

// Root regenerating another user's index leaves the files that user's, with their bits.
TEST_F(ReplacedFiles, KeepTheirOwnerWhereTheRunMayGiveIt)
{
    if (!stambrix::test_support::RunsAsRoot())
        GTEST_SKIP() << "only root can give a file to another user";
    WriteBytes(Gedcom(), GeneratedGedcom(40));
    Run(kText);
    ASSERT_EQ(chown((Output() / "Namen.txt").c_str(), kUnprivilegedId, kUnprivilegedId), 0);
    fs::permissions(Output() / "Namen.txt", static_cast<fs::perms>(0640));

    WriteBytes(Gedcom(), GeneratedGedcom(200));
    Run(kText);

    EXPECT_EQ(StatusOf(Output() / "Namen.txt").st_uid, kUnprivilegedId);
    EXPECT_EQ(StatusOf(Output() / "Namen.txt").st_gid, kUnprivilegedId);
    EXPECT_EQ(PermissionsOf(Output() / "Namen.txt"), 0640u);
}

TEST_F(ReplacedFiles, OfAGroupTheRunMayNotGiveGetItsOwnGroupAndKeepTheirBits)
{
    if (!RunsAsRoot())
        GTEST_SKIP() << "only root can give a file to a group the user of a run does not belong to";
    WriteBytes(Gedcom(), GeneratedGedcom(40));
    stambrix::test_support::HandToUnprivilegedChild(work_.path());
    if (!stambrix::test_support::UnprivilegedChildCan(kCli, X_OK))
        GTEST_SKIP() << "user " << kUnprivilegedId << " cannot run " << kCli;
    Run(kText, true);
    ASSERT_EQ(chown((Output() / "Namen.txt").c_str(), static_cast<uid_t>(-1), 0), 0);
    fs::permissions(Output() / "Namen.txt", static_cast<fs::perms>(0640));

    Run(kText, true);

    EXPECT_EQ(StatusOf(Output() / "Namen.txt").st_gid, kUnprivilegedId);
    EXPECT_EQ(PermissionsOf(Output() / "Namen.txt"), 0640u);
}

// A symbolic link that another user planted where a file of the index goes, in a folder they share,
// points at a file of theirs that anyone may write: the index that replaces the link is the run's own
// file, with the default bits, and the file the link pointed at stays as it was.
TEST_F(ReplacedFiles, PlantedSymbolicLinkPassesOnNeitherOwnerNorBits)
{
    WriteBytes(Gedcom(), GeneratedGedcom(40));
    const fs::path planted = work_.path() / "van-een-ander.txt";
    WriteBytes(planted, "van een ander\r\n");
    fs::permissions(planted, static_cast<fs::perms>(0666));
    if (RunsAsRoot()) {
        ASSERT_EQ(chown(planted.c_str(), kUnprivilegedId, kUnprivilegedId), 0);
    }
    fs::create_directory(Output());
    fs::create_symlink(planted, Output() / "Namen.txt");

    Run(kText);

    ASSERT_TRUE(fs::is_regular_file(fs::symlink_status(Output() / "Namen.txt")));
    EXPECT_EQ(StatusOf(Output() / "Namen.txt").st_uid, geteuid());
    EXPECT_EQ(PermissionsOf(Output() / "Namen.txt"), 0644u);
    EXPECT_EQ(ReadBytes(planted), "van een ander\r\n");
}

TEST_F(ReplacedFiles, NewFilesGetTheDefaultPermissions)
{
    WriteBytes(Gedcom(), GeneratedGedcom(40));
    umask(027);

    Run(kText);

    EXPECT_EQ(PermissionsOf(Output() / "Namen.txt"), 0640u);
}

} // namespace
