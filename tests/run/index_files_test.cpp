#include "gedcom/byte_source.h"
#include "output/memory_files.h"
#include "run/index_files.h"
#include "run/run_index.h"
#include "scan/index_sort.h"
#include "scan/scan_gedcom.h"
#include "test_support/file_bytes.h"
#include "test_support/recording_panels.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace stambrix::run {
namespace {

namespace fs = std::filesystem;

RunRequest RequestFor(const std::string& path, OutputKind outputKind, bool inFrame)
{
    RunRequest request;
    request.gedcomPath = path;
    request.outputKind = outputKind;
    request.inFrame = inFrame;
    request.prefixes = names::DefaultPrefixes();
    return request;
}

// The pipeline in memory writes the files a run on disk writes, byte for byte.
TEST(WriteIndex, InMemoryGivesTheFilesOfARunOnDisk)
{
    const test_support::TempFolder folder("stambrix-pipeline");
    const fs::path gedcomPath = folder.path() / "voorbeeld.ged";
    fs::copy_file(fs::path(STAMBRIX_SOURCE_DIR) / "examples" / "voorbeeld.ged", gedcomPath);
    const std::string gedcom = test_support::ReadBytes(gedcomPath);
    for (const auto& [outputKind, inFrame] : {std::pair{OutputKind::NaarTekst, false},
                                              {OutputKind::Html, true},
                                              {OutputKind::FamilienamenEenRegel, false}}) {
        const RunRequest request = RequestFor(gedcomPath.string(), outputKind, inFrame);
        test_support::RecordingPanels panels;
        test_support::RecordingMessages messages;
        fs::remove_all(folder.path() / "Stambrix");
        ASSERT_EQ(RunIndex(request, panels, messages), RunOutcome::Written);

        gedcom::MemorySource source(gedcom);
        const scan::ScanResult sorted =
            scan::ScanSorted(source, ScanChoicesOf(request), panels, scan::CollationLocale());
        output::MemoryFiles files;
        ASSERT_EQ(WriteIndex(request, sorted, files, panels, messages), RunOutcome::Written);
        files.Publish();
        EXPECT_EQ(
            test_support::DifferencesBetween(test_support::ContentsOf(folder.path() / "Stambrix"),
                                             test_support::FolderContents(files.files.begin(), files.files.end())),
            "")
            << static_cast<int>(outputKind);
        EXPECT_TRUE(messages.messages.empty());
    }
}

TEST(WriteIndex, NoLinesWritesNothingAndSaysSo)
{
    const std::string gedcom = "0 HEAD\r\n0 @F1@ FAM\r\n0 TRLR\r\n";
    gedcom::MemorySource source(gedcom);
    const RunRequest request = RequestFor("leeg.ged", OutputKind::Html, true);
    test_support::RecordingPanels panels;
    test_support::RecordingMessages messages;
    const scan::ScanResult sorted = scan::ScanSorted(source, ScanChoicesOf(request), panels, "nl");
    output::MemoryFiles files;
    EXPECT_EQ(WriteIndex(request, sorted, files, panels, messages), RunOutcome::NothingFound);
    files.Publish();
    EXPECT_TRUE(files.files.empty());
    EXPECT_EQ(messages.messages, std::vector<std::string>{"Er zijn geen items gevonden."});
}

} // namespace
} // namespace stambrix::run
