#include "output/folder_lock.h"
#include "progress/cancellation.h"
#include "run/run_index.h"
#include "run/run_request.h"
#include "scan/scan_test_support.h"
#include "test_support/file_bytes.h"
#include "test_support/recording_progress.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <optional>
#include <string>

// A run cancelled on the way ends in progress::RunCancelled and leaves the folder as it found it.
namespace stambrix::run {
namespace {

namespace fs = std::filesystem;
using test_support::ContentsOf;
using test_support::DifferencesBetween;
using test_support::EntriesOf;
using test_support::FolderContents;

// Cancels the run once the whole file is read: the counts of records read are passed on then, before
// the index is written.
class CancelWhenRead final : public progress::RunProgress
{
public:
    explicit CancelWhenRead(progress::Cancellation& cancellation) : cancellation_(cancellation) {}
    void Reset() override {}
    void RecordsRead(std::uint64_t) override { cancellation_.Cancel(); }
    void EntriesWritten(std::uint64_t) override {}
    void TimeElapsed(std::uint32_t) override {}

private:
    progress::Cancellation& cancellation_;
};

// Cancels the run when it says it waits for another run's turn.
class CancelWhenWaiting final : public progress::UserMessages
{
public:
    explicit CancelWhenWaiting(progress::Cancellation& cancellation) : cancellation_(cancellation) {}
    void ShowMessage(std::string_view) override {}
    void ShowFileNotCreated(std::string_view, std::string_view) override {}
    void ShowNote(std::string_view) override { cancellation_.Cancel(); }

private:
    progress::Cancellation& cancellation_;
};

class CancelledRun : public ::testing::Test
{
protected:
    RunRequest Request(OutputKind outputKind, bool inFrame) const
    {
        RunRequest request;
        request.gedcomPath = (folder_.path() / "fam.ged").string();
        request.outputKind = outputKind;
        request.inFrame = inFrame;
        request.prefixes = names::DefaultPrefixes();
        return request;
    }

    fs::path Output() const { return folder_.path() / "Stambrix"; }

    /// The index of two persons, written in every form; then the tree grows by a third.
    FolderContents WriteEarlierIndexes()
    {
        test_support::WriteBytes(
            folder_.path() / "fam.ged",
            scan::testing::Gedcom({"0 @I1@ INDI", "1 NAME Jan /Berg/", "0 @I2@ INDI", "1 NAME Anna /Aa/", "0 TRLR"}));
        test_support::RecordingProgress progress;
        test_support::RecordingMessages messages;
        for (const bool inFrame : {false, true})
            EXPECT_EQ(RunIndex(Request(OutputKind::Html, inFrame), progress, messages), RunOutcome::Written);
        EXPECT_EQ(RunIndex(Request(OutputKind::NaarTekst, false), progress, messages), RunOutcome::Written);
        test_support::WriteBytes(
            folder_.path() / "fam.ged",
            scan::testing::Gedcom({"0 @I1@ INDI", "1 NAME Jan /Berg/", "0 @I2@ INDI", "1 NAME Anna /Aa/", "0 @I3@ INDI",
                                   "1 NAME Kees /Dam/", "0 TRLR"}));
        return ContentsOf(Output());
    }

    test_support::TempFolder folder_{"stambrix-cancelled"};
};

TEST_F(CancelledRun, WhileWritingLeavesTheEarlierIndexAndNoFileOfItsOwn)
{
    const FolderContents before = WriteEarlierIndexes();
    for (const auto& [outputKind, inFrame] :
         {std::pair{OutputKind::NaarTekst, false}, std::pair{OutputKind::Html, true}}) {
        progress::Cancellation cancellation;
        CancelWhenRead progress(cancellation);
        test_support::RecordingMessages messages;
        EXPECT_THROW((void)RunIndex(Request(outputKind, inFrame), progress, messages, cancellation),
                     progress::RunCancelled);
        EXPECT_EQ(DifferencesBetween(before, ContentsOf(Output())), "") << "in frame: " << inFrame;
        EXPECT_EQ(EntriesOf(Output()).size(), before.size()) << "no temporary file stays";
    }
}

// The run waits for the turn that another run (here this test) holds, and ends on the cancellation all
// the same, keeping nothing of the folder open.
TEST_F(CancelledRun, WhileWaitingForAnotherRunsTurnEnds)
{
    const FolderContents before = WriteEarlierIndexes();
    const auto openFiles = [] { return EntriesOf("/proc/self/fd").size(); };
    std::optional<output::FolderLock> otherRun;
    otherRun.emplace(Output(), [] {});
    const std::size_t openBefore = openFiles();
    progress::Cancellation cancellation;
    test_support::RecordingProgress progress;
    CancelWhenWaiting messages(cancellation);
    auto run = std::async(std::launch::async, [&] {
        return RunIndex(Request(OutputKind::NaarTekst, false), progress, messages, cancellation);
    });
    const bool ended = run.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    // Should it go on waiting, the other turn ends, so the test ends too.
    otherRun.reset();
    ASSERT_TRUE(ended) << "the cancelled run goes on waiting for its turn";
    EXPECT_THROW(run.get(), progress::RunCancelled);
    EXPECT_EQ(openFiles(), openBefore - 1) << "the other turn's lock is gone, and nothing else";
    EXPECT_EQ(DifferencesBetween(before, ContentsOf(Output())), "");
}

} // namespace
} // namespace stambrix::run
