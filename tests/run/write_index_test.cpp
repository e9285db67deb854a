#include "gedcom/byte_source.h"
#include "index/index_sort.h"
#include "output/letter_pages.h"
#include "output/memory_files.h"
#include "output/name_index_pages.h"
#include "progress/progress_throttle.h"
#include "run/run_index.h"
#include "run/write_index.h"
#include "scan/scan_gedcom.h"
#include "test_support/file_bytes.h"
#include "test_support/generated_gedcom.h"
#include "test_support/recording_progress.h"
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
    request.choices.outputKind = outputKind;
    request.choices.inFrame = inFrame;
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
        test_support::RecordingProgress recorded;
        test_support::RecordingMessages messages;
        fs::remove_all(folder.path() / "Stambrix");
        ASSERT_EQ(RunIndex(request, recorded, messages), RunOutcome::Written);

        gedcom::MemorySource source(gedcom);
        progress::ProgressThrottle progress;
        const scan::ScanResult sorted =
            scan::ScanSorted(source, ScanChoicesOf(request), progress, index::CollationLocale());
        output::MemoryFiles files;
        ASSERT_EQ(WriteIndex(request, sorted, files, progress, messages), RunOutcome::Written);
        files.Publish();
        EXPECT_EQ(
            test_support::DifferencesBetween(test_support::ContentsOf(folder.path() / "Stambrix"),
                                             test_support::FolderContents(files.files.begin(), files.files.end())),
            "")
            << static_cast<int>(outputKind);
        EXPECT_TRUE(messages.messages.empty());
    }
}

// Framed pages of enough lines are made by two threads; each letter's page is the page the lines of
// that letter alone give (made by one thread), and every line is counted.
TEST(WriteIndex, LetterPagesMadeByTwoThreadsAreThoseOfOne)
{
    const std::string gedcom = test_support::GeneratedGedcom(output::kLetterPagesInParallelFrom + 5000);
    for (const OutputKind outputKind : {OutputKind::Html, OutputKind::Familienamen, OutputKind::FamilienamenEenRegel}) {
        const RunRequest request = RequestFor("groot.ged", outputKind, true);
        test_support::RecordingProgress recorded;
        progress::ProgressThrottle progress(recorded);
        test_support::RecordingMessages messages;
        gedcom::MemorySource source(gedcom);
        const scan::ScanResult sorted = scan::ScanSorted(source, ScanChoicesOf(request), progress, "nl");
        ASSERT_GE(sorted.indexList.size(), output::kLetterPagesInParallelFrom);
        output::MemoryFiles files;
        ASSERT_EQ(WriteIndex(request, sorted, files, progress, messages), RunOutcome::Written);
        files.Publish();
        EXPECT_EQ(test_support::LastOf(recorded.written), sorted.indexList.size());

        for (char letter = 'a'; letter <= 'z'; ++letter) {
            scan::ScanResult alone;
            alone.encoding = sorted.encoding;
            for (const std::string& line : sorted.indexList) {
                const std::string_view heading = outputKind == OutputKind::Html ? output::HeadingOf(line) : line;
                if (output::LetterOf(heading, sorted.encoding) == letter)
                    alone.indexList.Add(line);
            }
            output::MemoryFiles aloneFiles;
            if (WriteIndex(request, alone, aloneFiles, progress, messages) != RunOutcome::Written)
                continue;
            aloneFiles.Publish();
            const std::string page = output::LetterPageName(letter);
            EXPECT_TRUE(files.files.at(page) == aloneFiles.files.at(page))
                << page << ", kind " << static_cast<int>(outputKind);
        }
    }
}

TEST(WriteIndex, NoLinesWritesNothingAndSaysSo)
{
    const std::string gedcom = "0 HEAD\r\n0 @F1@ FAM\r\n0 TRLR\r\n";
    gedcom::MemorySource source(gedcom);
    const RunRequest request = RequestFor("leeg.ged", OutputKind::Html, true);
    progress::ProgressThrottle progress;
    test_support::RecordingMessages messages;
    const scan::ScanResult sorted = scan::ScanSorted(source, ScanChoicesOf(request), progress, "nl");
    output::MemoryFiles files;
    EXPECT_EQ(WriteIndex(request, sorted, files, progress, messages), RunOutcome::NothingFound);
    PublishIndex(request, RunOutcome::NothingFound, files, messages);
    EXPECT_TRUE(files.files.empty());
    EXPECT_EQ(messages.messages, std::vector<std::string>{"Er zijn geen items gevonden."});
}

} // namespace
} // namespace stambrix::run
