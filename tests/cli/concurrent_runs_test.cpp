#include "test_support/child_run.h"
#include "test_support/cli_run.h"
#include "test_support/generated_gedcom.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

// Two stambrix-cli processes index the same file at the same moment, as when a user starts a run
// twice: both succeed and every file they leave is whole, as one run alone writes it.
namespace {

namespace fs = std::filesystem;
using stambrix::test_support::Child;
using stambrix::test_support::ChildResult;
using stambrix::test_support::ChildSetup;
using stambrix::test_support::ContentsOf;
using stambrix::test_support::DifferencesBetween;
using stambrix::test_support::FolderContents;

const fs::path kCli = STAMBRIX_CLI_PATH;

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

    stambrix::test_support::TempFolder work_{"stambrix-concurrent"};
};

TEST_P(ConcurrentRuns, BothSucceedAndLeaveTheFilesOfOneRun)
{
    const std::string tree = stambrix::test_support::GeneratedGedcom(10000);
    const fs::path alone = work_.path() / "alleen" / "stamboom.ged";
    const fs::path together = work_.path() / "samen" / "stamboom.ged";
    for (const fs::path& gedcom : {alone, together}) {
        fs::create_directories(gedcom.parent_path());
        stambrix::test_support::WriteBytes(gedcom, tree);
    }
    const ChildResult single = stambrix::test_support::RunChild(kCli, CliOn(alone));
    ASSERT_EQ(single.exitCode, 0) << single.err;
    const FolderContents reference = ContentsOf(alone.parent_path() / "Stambrix");
    ASSERT_FALSE(reference.empty());

    const fs::path output = together.parent_path() / "Stambrix";
    for (int round = 0; round < 5; ++round) {
        // Every other round both runs make the folder; the others find the files of the round before.
        if (round % 2 == 0)
            fs::remove_all(output);
        ChildResult results[2];
        {
            Child first(kCli, CliOn(together));
            Child second(kCli, CliOn(together));
            results[0] = first.Wait();
            results[1] = second.Wait();
        }
        for (const ChildResult& result : results) {
            EXPECT_EQ(result.exitCode, 0) << "round " << round << ": " << result.err;
            EXPECT_EQ(result.err, "") << "round " << round;
        }
        EXPECT_EQ(DifferencesBetween(reference, ContentsOf(output)), "") << "round " << round;
        EXPECT_EQ(stambrix::test_support::EntriesOf(output).size(), reference.size())
            << "round " << round << ": no temporary file may stay";
    }
}

INSTANTIATE_TEST_SUITE_P(Outputs, ConcurrentRuns,
                         ::testing::Values(ConcurrentCase{"Text", {}},
                                           ConcurrentCase{"HtmlInFrame", {"--uitvoer", "html", "--in-frame"}}),
                         [](const auto& testInfo) { return testInfo.param.name; });

} // namespace
