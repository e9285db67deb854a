#include "output/folder_lock.h"
#include "test_support/child_run.h"
#include "test_support/cli_run.h"
#include "test_support/generated_gedcom.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <thread>

// stambrix-cli ended by a signal while it writes its index: the temporary file goes and the earlier
// index stays as it was. A temporary file that a killed run left goes with the next run in its folder.
namespace {

namespace fs = std::filesystem;
using stambrix::test_support::Child;
using stambrix::test_support::ChildResult;
using stambrix::test_support::ChildSetup;
using stambrix::test_support::ContentsOf;
using stambrix::test_support::DifferencesBetween;
using stambrix::test_support::EntriesOf;
using stambrix::test_support::FolderContents;
using stambrix::test_support::GeneratedGedcom;
using stambrix::test_support::RunChild;
using stambrix::test_support::WriteBytes;

const fs::path kCli = STAMBRIX_CLI_PATH;
const fs::path kStopPreload = STAMBRIX_STOP_AT_TEMPORARY_PRELOAD;

class InterruptedRuns : public ::testing::Test
{
protected:
    fs::path Gedcom() const { return work_.path() / "stamboom.ged"; }
    fs::path Output() const { return work_.path() / "Stambrix"; }

    /// stambrix-cli, quiet, on the tree's GEDCOM file.
    ChildSetup Cli() const
    {
        ChildSetup setup;
        setup.args = {"-q", Gedcom().string()};
        return setup;
    }

    /// As Cli, stopping right after it has made its temporary file.
    ChildSetup CliStoppingAtTemporaryFile() const
    {
        const char* sanitizerOptions = std::getenv("ASAN_OPTIONS");
        ChildSetup setup = Cli();
        setup.environment = {
            "LD_PRELOAD=" + kStopPreload.string(),
            // AddressSanitizer wants to be the first library; this one comes before it.
            std::string("ASAN_OPTIONS=") + (sanitizerOptions != nullptr ? sanitizerOptions : "") +
                ":verify_asan_link_order=0",
        };
        return setup;
    }

    /// The index of a smaller tree, as an earlier run left it; the tree then grows.
    FolderContents WriteEarlierIndex()
    {
        WriteBytes(Gedcom(), GeneratedGedcom(40));
        const ChildResult earlier = RunChild(kCli, Cli());
        EXPECT_EQ(earlier.exitCode, 0) << earlier.err;
        WriteBytes(Gedcom(), GeneratedGedcom(200));
        return ContentsOf(Output());
    }

    stambrix::test_support::TempFolder work_{"stambrix-interrupted"};
};

// The names in the folder that look like temporary files: ".stambrix-Namen.txt.<pid>....tmp".
std::set<std::string> TemporaryFilesIn(const fs::path& folder)
{
    std::set<std::string> names;
    for (const std::string& name : EntriesOf(folder))
        if (name.starts_with(".stambrix-Namen.txt.") && name.ends_with(".tmp"))
            names.insert(name);
    return names;
}

struct SignalCase
{
    std::string name;
    int signal = 0;
    int exitCode = 0;
};

class Signal : public InterruptedRuns, public ::testing::WithParamInterface<SignalCase>
{
};

TEST_P(Signal, RemovesTheTemporaryFileAndKeepsTheEarlierIndex)
{
    const FolderContents before = WriteEarlierIndex();
    ASSERT_TRUE(before.contains("Namen.txt"));
    Child child(kCli, CliStoppingAtTemporaryFile());
    ASSERT_TRUE(child.WaitUntilStopped()) << "the run made no temporary file, or did not load " << kStopPreload;
    EXPECT_EQ(TemporaryFilesIn(Output()).size(), 1u);

    // A stopped process takes the signal when it goes on.
    child.Send(GetParam().signal);
    child.Send(SIGCONT);
    const ChildResult result = child.Wait();

    EXPECT_EQ(result.exitCode, GetParam().exitCode) << "ended by signal " << result.signal;
    EXPECT_EQ(result.err,
              "stambrix-cli: onderbroken door " + GetParam().name + "; onvoltooide bestanden zijn verwijderd\n");
    EXPECT_EQ(DifferencesBetween(before, ContentsOf(Output())), "") << "no temporary file may stay";
}

INSTANTIATE_TEST_SUITE_P(InterruptedRuns, Signal,
                         ::testing::Values(SignalCase{"SIGINT", SIGINT, 130}, SignalCase{"SIGTERM", SIGTERM, 143},
                                           SignalCase{"SIGHUP", SIGHUP, 129}),
                         [](const auto& testInfo) { return testInfo.param.name; });

TEST_F(InterruptedRuns, HangUpStartedIgnoredAsUnderNohupLetsTheRunFinish)
{
    const FolderContents before = WriteEarlierIndex();
    ChildSetup setup = CliStoppingAtTemporaryFile();
    setup.ignoredSignals = {SIGHUP};
    Child child(kCli, setup);
    ASSERT_TRUE(child.WaitUntilStopped()) << "the run made no temporary file, or did not load " << kStopPreload;

    child.Send(SIGHUP);
    child.Send(SIGCONT);
    const ChildResult result = child.Wait();

    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_GT(ContentsOf(Output()).at("Namen.txt").size(), before.at("Namen.txt").size())
        << "the index of the larger tree is in place";
    EXPECT_EQ(TemporaryFilesIn(Output()), std::set<std::string>{});
}

// A temporary file is judged by the folder's lock, not by the process id in its name: while another
// run holds the lock (here this process, for a run whose process id is free here, as a run in another
// PID namespace or on another machine has), the next run waits and leaves its files alone; once the
// lock is free, what is left of the pattern goes, and the user's files that look like it stay, also
// one with the numbers of a temporary name behind a name of its own.
TEST_F(InterruptedRuns, NextRunRemovesOnlyTemporaryFilesWhoseLockNobodyHolds)
{
    WriteEarlierIndex();
    const pid_t ended = fork();
    ASSERT_GE(ended, 0);
    if (ended == 0)
        _exit(0);
    ASSERT_EQ(waitpid(ended, nullptr, 0), ended);
    const std::string live = ".stambrix-Namen.txt." + std::to_string(ended) + ".123.4.0.tmp";
    const std::set<std::string> usersOwn = {
        ".Namen.txt.tmp",
        ".Namen.txt." + std::to_string(ended) + ".123.4.0.tmp",
        "Namen.txt." + std::to_string(ended) + ".123.4.0.tmp",
        ".stambrix-Namen.txt." + std::to_string(ended) + ".123.4.tmp",
    };
    for (const std::string& name : usersOwn)
        WriteBytes(Output() / name, "van de gebruiker\r\n");
    WriteBytes(Output() / live, "half");
    auto turn = std::make_unique<stambrix::output::FolderLock>(Output(), [] {});

    Child next(kCli, Cli());
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(fs::exists(Output() / live)) << "the file of a run that holds the lock went";
    turn.reset();
    const ChildResult result = next.Wait();

    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, "wacht op een andere run in " + Output().string() + "\n");
    std::set<std::string> expected = usersOwn;
    expected.insert("Namen.txt");
    EXPECT_EQ(EntriesOf(Output()), expected);
}

} // namespace
