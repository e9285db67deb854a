#include "test_support/child_run.h"
#include "test_support/cli_run.h"
#include "test_support/generated_gedcom.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <set>
#include <string>
#include <thread>
#include <vector>

// Two stambrix-cli processes write into one folder at the same moment, as when a user starts a run
// twice, two trees in one folder are indexed at once, or two users share the folder: they take turns,
// so both succeed and the folder holds the files of one run, whole, never pages of both.
namespace {

namespace fs = std::filesystem;
using stambrix::test_support::Child;
using stambrix::test_support::ChildResult;
using stambrix::test_support::ChildSetup;
using stambrix::test_support::ContentsOf;
using stambrix::test_support::DifferencesBetween;
using stambrix::test_support::FolderContents;

const fs::path kCli = STAMBRIX_CLI_PATH;
const fs::path kStopPreload = STAMBRIX_STOP_AT_TEMPORARY_PRELOAD;

struct ConcurrentCase
{
    std::string name;
    std::vector<std::string> options;
};

std::ostream& operator<<(std::ostream& os, const ConcurrentCase& c)
{
    return os << c.name;
}

class ConcurrentRuns : public ::testing::TestWithParam<ConcurrentCase>
{
protected:
    /// stambrix-cli, quiet, with the case's options on `gedcom`; the page footers carry a fixed date.
    static ChildSetup CliOn(const fs::path& gedcom)
    {
        ChildSetup setup;
        setup.args = GetParam().options;
        setup.args.push_back("-q");
        setup.args.push_back(gedcom.string());
        setup.environment = {"SOURCE_DATE_EPOCH=1700000000"};
        return setup;
    }

    /// What a run of `tree` alone writes.
    FolderContents AloneWith(const std::string& name, const std::string& tree)
    {
        const fs::path gedcom = work_.path() / name / "stamboom.ged";
        fs::create_directories(gedcom.parent_path());
        stambrix::test_support::WriteBytes(gedcom, tree);
        const ChildResult alone = stambrix::test_support::RunChild(kCli, CliOn(gedcom));
        EXPECT_EQ(alone.exitCode, 0) << alone.err;
        return ContentsOf(gedcom.parent_path() / "Stambrix");
    }

    stambrix::test_support::TempFolder work_{"stambrix-concurrent"};
};

TEST_P(ConcurrentRuns, TakeTurnsAndLeaveTheWholeSetOfOneRun)
{
    // Two trees whose indexes differ in every page: a run that mixed them would show.
    const std::string treeA = stambrix::test_support::GeneratedGedcom(6000);
    const std::string treeB = stambrix::test_support::GeneratedGedcom(9000);
    const FolderContents referenceA = AloneWith("a", treeA);
    const FolderContents referenceB = AloneWith("b", treeB);
    ASSERT_FALSE(referenceA.empty());
    ASSERT_NE(DifferencesBetween(referenceA, referenceB), "");

    const fs::path together = work_.path() / "samen";
    fs::create_directories(together);
    stambrix::test_support::WriteBytes(together / "a.ged", treeA);
    stambrix::test_support::WriteBytes(together / "b.ged", treeB);
    const fs::path output = together / "Stambrix";
    const std::string waiting = "wacht op een andere run in " + output.string() + "\n";
    for (int round = 0; round < 16; ++round) {
        // Every other round both runs make the folder; the others find the files of the round before.
        if (round % 2 == 0)
            fs::remove_all(output);
        ChildResult results[2];
        {
            Child first(kCli, CliOn(together / (round % 4 < 2 ? "a.ged" : "b.ged")));
            Child second(kCli, CliOn(together / (round % 4 < 2 ? "b.ged" : "a.ged")));
            results[0] = first.Wait();
            results[1] = second.Wait();
        }
        for (const ChildResult& result : results) {
            EXPECT_EQ(result.exitCode, 0) << "round " << round << ": " << result.err;
            EXPECT_TRUE(result.err.empty() || result.err == waiting) << "round " << round << ": " << result.err;
        }
        const FolderContents after = ContentsOf(output);
        EXPECT_TRUE(DifferencesBetween(referenceA, after).empty() || DifferencesBetween(referenceB, after).empty())
            << "round " << round << ": the folder holds neither index whole:\n"
            << DifferencesBetween(referenceA, after);
    }
}

INSTANTIATE_TEST_SUITE_P(Outputs, ConcurrentRuns,
                         ::testing::Values(ConcurrentCase{"Text", {}},
                                           ConcurrentCase{"HtmlInFrame", {"--uitvoer", "html", "--in-frame"}}),
                         [](const auto& testInfo) { return testInfo.param.name; });

// A run whose user may read the folder and one whose user may only write into it (mode -wx) take the
// same lock, whichever comes first: the second waits, says so, and leaves the temporary file of the
// first alone; then both write their index.
struct RightsCase
{
    std::string name;
    bool writeOnlyFirst = false;
};

std::ostream& operator<<(std::ostream& os, const RightsCase& c)
{
    return os << c.name;
}

class RunsWithOtherRights : public ::testing::TestWithParam<RightsCase>
{
};

TEST_P(RunsWithOtherRights, TakeTheSameLock)
{
    if (!stambrix::test_support::RunsAsRoot())
        GTEST_SKIP() << "only root can start a run as another user";
    stambrix::test_support::TempFolder work("stambrix-rights");
    const fs::path gedcom = work.path() / "stamboom.ged";
    stambrix::test_support::WriteBytes(gedcom, stambrix::test_support::GeneratedGedcom(200));
    stambrix::test_support::HandToUnprivilegedChild(work.path());
    if (!stambrix::test_support::UnprivilegedChildCan(kCli, X_OK) ||
        !stambrix::test_support::UnprivilegedChildCan(kStopPreload, R_OK))
        GTEST_SKIP() << "user " << stambrix::test_support::kUnprivilegedId << " cannot run " << kCli;
    const fs::path output = work.path() / "Stambrix";
    fs::create_directory(output);
    ASSERT_EQ(chown(output.c_str(), 0, 0), 0);
    fs::permissions(output, static_cast<fs::perms>(0733));
    ChildSetup first;
    first.args = {"-q", gedcom.string()};
    first.unprivileged = GetParam().writeOnlyFirst;
    const char* sanitizerOptions = std::getenv("ASAN_OPTIONS");
    // AddressSanitizer wants to be the first library; this one comes before it.
    first.environment = {"LD_PRELOAD=" + kStopPreload.string(),
                         std::string("ASAN_OPTIONS=") + (sanitizerOptions != nullptr ? sanitizerOptions : "") +
                             ":verify_asan_link_order=0"};
    ChildSetup second;
    second.args = first.args;
    second.unprivileged = !GetParam().writeOnlyFirst;

    Child firstRun(kCli, first);
    ASSERT_TRUE(firstRun.WaitUntilStopped()) << "the run made no temporary file, or did not load " << kStopPreload;
    const std::set<std::string> whileFirstWrites = stambrix::test_support::EntriesOf(output);
    Child secondRun(kCli, second);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(stambrix::test_support::EntriesOf(output), whileFirstWrites) << "the second run did not wait";
    firstRun.Send(SIGCONT);
    const ChildResult firstResult = firstRun.Wait();
    const ChildResult secondResult = secondRun.Wait();

    EXPECT_EQ(firstResult.exitCode, 0) << firstResult.err;
    EXPECT_EQ(secondResult.exitCode, 0) << secondResult.err;
    EXPECT_EQ(secondResult.err, "wacht op een andere run in " + output.string() + "\n");
    EXPECT_EQ(stambrix::test_support::EntriesOf(output), std::set<std::string>{"Namen.txt"});
}

INSTANTIATE_TEST_SUITE_P(Rights, RunsWithOtherRights,
                         ::testing::Values(RightsCase{"ReadingRunFirst", false}, RightsCase{"WriteOnlyRunFirst", true}),
                         [](const auto& testInfo) { return testInfo.param.name; });

} // namespace
