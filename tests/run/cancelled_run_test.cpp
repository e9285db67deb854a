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
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

// A run cancelled on the way ends in progress::RunCancelled and leaves the folder as it found it.
namespace stambrix::run {
namespace {

namespace fs = std::filesystem;
using test_support::ContentsOf;
using test_support::DifferencesBetween;
using test_support::EntriesOf;
using test_support::FolderContents;

// Cancels the run once the whole file is read, when the count of records read is passed on: before the
// index is written, and before the run takes its turn in the folder.
class CancelWhenRead final : public progress::RunProgress
{
public:
    void Reset() override {}
    void RecordsRead(std::uint64_t) override { cancellation.Cancel(); }
    void EntriesWritten(std::uint64_t) override {}
    void TimeElapsed(std::uint32_t) override {}

    progress::Cancellation cancellation;
};

class CancelledRun : public ::testing::Test
{
protected:
    RunRequest Request(OutputKind outputKind, bool inFrame) const
    {
        RunRequest request;
        request.gedcomPath = (folder_.path() / "fam.ged").string();
        request.choices.outputKind = outputKind;
        request.choices.inFrame = inFrame;
        request.prefixes = names::DefaultPrefixes();
        return request;
    }

    fs::path Output() const { return folder_.path() / "Stambrix"; }

    /// The index of two persons as text and as framed pages; then the tree grows by one.
    FolderContents WriteEarlierIndexes()
    {
        WriteTree({"0 @I1@ INDI", "1 NAME Jan /Berg/", "0 @I2@ INDI", "1 NAME Anna /Aa/", "0 TRLR"});
        test_support::RecordingProgress progress;
        test_support::RecordingMessages messages;
        EXPECT_EQ(RunIndex(Request(OutputKind::NaarTekst, false), progress, messages), RunOutcome::Written);
        EXPECT_EQ(RunIndex(Request(OutputKind::Html, true), progress, messages), RunOutcome::Written);
        WriteTree({"0 @I1@ INDI", "1 NAME Jan /Berg/", "0 @I2@ INDI", "1 NAME Anna /Aa/", "0 @I3@ INDI",
                   "1 NAME Kees /Dam/", "0 TRLR"});
        return ContentsOf(Output());
    }

    void WriteTree(std::initializer_list<std::string_view> lines)
    {
        test_support::WriteBytes(folder_.path() / "fam.ged", scan::testing::Gedcom(lines));
    }

    test_support::TempFolder folder_{"stambrix-cancelled"};
};

TEST_F(CancelledRun, WhileWritingLeavesTheEarlierIndexAndNoFileOfItsOwn)
{
    const FolderContents before = WriteEarlierIndexes();
    for (const auto& [outputKind, inFrame] :
         {std::pair{OutputKind::NaarTekst, false}, std::pair{OutputKind::Html, true}}) {
        CancelWhenRead progress;
        test_support::RecordingMessages messages;
        EXPECT_THROW((void)RunIndex(Request(outputKind, inFrame), progress, messages, progress.cancellation),
                     progress::RunCancelled);
        EXPECT_EQ(DifferencesBetween(before, ContentsOf(Output())), "") << "in frame: " << inFrame;
        EXPECT_EQ(EntriesOf(Output()).size(), before.size()) << "no temporary file stays";
    }
}

// Another run (here this test) holds the folder's turn: the cancelled run ends all the same, keeping
// nothing of the folder open.
TEST_F(CancelledRun, WhileWaitingForAnotherRunsTurnEnds)
{
    const FolderContents before = WriteEarlierIndexes();
    const auto openFiles = [] { return EntriesOf("/proc/self/fd").size(); };
    std::optional<output::FolderLock> otherRun;
    otherRun.emplace(Output(), [] {});
    const std::size_t openBefore = openFiles();
    CancelWhenRead progress;
    test_support::RecordingMessages messages;
    auto run = std::async(std::launch::async, [&] {
        return RunIndex(Request(OutputKind::NaarTekst, false), progress, messages, progress.cancellation);
    });
    const bool ended = run.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    // Should the run go on waiting, the other turn ends, so the test ends too.
    otherRun.reset();
    ASSERT_TRUE(ended) << "the cancelled run goes on waiting for its turn";
    EXPECT_THROW((void)run.get(), progress::RunCancelled);
    EXPECT_EQ(messages.notes.size(), 1u) << "it waited";
    EXPECT_EQ(openFiles(), openBefore - 1) << "the other turn's lock is gone, and nothing else";
    EXPECT_EQ(DifferencesBetween(before, ContentsOf(Output())), "");
}

} // namespace
} // namespace stambrix::run
