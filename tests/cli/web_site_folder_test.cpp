#include "test_support/child_run.h"
#include "test_support/file_bytes.h"
#include "test_support/generated_gedcom.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <ostream>

#include <csignal>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

// stambrix-cli --uitvoer web replaces the folder Stambrix/web as a whole: a run killed while it puts
// the site in place is undone by the next run, and a signal then waits until the site is whole.
namespace {

namespace fs = std::filesystem;
using stambrix::test_support::ChildResult;
using stambrix::test_support::ChildSetup;
using stambrix::test_support::ContentsOf;
using stambrix::test_support::DifferencesBetween;
using stambrix::test_support::EntriesOf;
using stambrix::test_support::RunChild;

const fs::path kCli = STAMBRIX_CLI_PATH;
const fs::path kRenameErrorPreload = STAMBRIX_RENAME_ERROR_PRELOAD;

class WebSiteFolder : public ::testing::Test
{
protected:
    fs::path Output(const std::string& tree = "stamboom") const { return work_.path() / tree / "Stambrix"; }
    fs::path Site(const std::string& tree = "stamboom") const { return Output(tree) / "web"; }

    /// stambrix-cli, quiet, writing the website of `persons` generated persons in the folder `tree`,
    /// with the rename library given `variables` where there are any.
    ChildSetup WebRun(std::size_t persons, const std::vector<std::string>& variables = {},
                      const std::string& tree = "stamboom") const
    {
        const fs::path gedcom = work_.path() / tree / "stamboom.ged";
        fs::create_directories(gedcom.parent_path());
        stambrix::test_support::WriteBytes(gedcom, stambrix::test_support::GeneratedGedcom(persons));
        ChildSetup setup;
        setup.args = {"--uitvoer", "web", "-q", gedcom.string()};
        setup.environment = {"SOURCE_DATE_EPOCH=1700000000"};
        if (!variables.empty())
            setup.environment = stambrix::test_support::WithPreload(setup.environment, kRenameErrorPreload);
        setup.environment.insert(setup.environment.end(), variables.begin(), variables.end());
        return setup;
    }

    stambrix::test_support::TempFolder work_{"stambrix-web-folder"};
};

struct KillCase
{
    std::string name;
    std::string killedAt; // the rename after which the run is killed: the journal's own is the first
};

// A failing case names itself, not its bytes.
void PrintTo(const KillCase& testCase, std::ostream* out)
{
    *out << testCase.name;
}

class KilledBetweenRenames : public WebSiteFolder, public ::testing::WithParamInterface<KillCase>
{
};

// Without an exchange of names the site goes in by two renames after the journal's own; the run is
// killed after the earlier site went aside, or after the new one took its place. The next run, of
// another kind, puts the earlier site back.
TEST_P(KilledBetweenRenames, IsUndoneByTheNextRunOfAnotherKind)
{
    ASSERT_EQ(RunChild(kCli, WebRun(15)).exitCode, 0);
    const auto earlier = ContentsOf(Site());

    const ChildResult crashed =
        RunChild(kCli, WebRun(300, {"STAMBRIX_RENAME_NO_EXCHANGE=1", "STAMBRIX_RENAME_ERROR_KILL=1",
                                    "STAMBRIX_RENAME_ERROR_AT=" + GetParam().killedAt}));
    ASSERT_EQ(crashed.signal, SIGKILL) << crashed.err;
    ChildSetup text = WebRun(300);
    text.args = {"-q", text.args.back()};
    const ChildResult next = RunChild(kCli, text);

    EXPECT_EQ(next.exitCode, 0) << next.err;
    EXPECT_EQ(DifferencesBetween(earlier, ContentsOf(Site())), "");
    EXPECT_EQ(EntriesOf(Output()), (std::set<std::string>{"Namen.txt", "web"}));
}

INSTANTIATE_TEST_SUITE_P(WebSiteFolder, KilledBetweenRenames,
                         ::testing::Values(KillCase{"AfterTheEarlierSiteWentAside", "2"},
                                           KillCase{"AfterTheNewSiteTookItsPlace", "3"}),
                         [](const auto& testInfo) { return testInfo.param.name; });

// The signal comes at the exchange of the two folders: it waits until the site is in place, and the
// earlier site goes with the temporary files.
TEST_F(WebSiteFolder, SignalWhileTheSiteGoesInEndsWithTheWholeSite)
{
    const ChildResult complete = RunChild(kCli, WebRun(300, {}, "ongestoord"));
    ASSERT_EQ(complete.exitCode, 0) << complete.err;
    ASSERT_EQ(RunChild(kCli, WebRun(15)).exitCode, 0);

    const ChildResult result =
        RunChild(kCli, WebRun(300, {"STAMBRIX_RENAME_ERROR_SIGNAL=1", "STAMBRIX_RENAME_ERROR_AT=1"}));

    EXPECT_EQ(result.exitCode, 128 + SIGTERM) << result.err;
    EXPECT_EQ(result.err, "stambrix-cli: onderbroken door SIGTERM; de index was al volledig geschreven\n");
    EXPECT_EQ(DifferencesBetween(ContentsOf(Site("ongestoord")), ContentsOf(Site())), "");
    EXPECT_EQ(EntriesOf(Output()), std::set<std::string>{"web"});
}

} // namespace
