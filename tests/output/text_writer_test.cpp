#include "output/text_writer.h"

#include "index/index_list.h"
#include "output/atomic_file.h"
#include "output/folder_files.h"
#include "progress/progress_throttle.h"
#include "test_support/recording_progress.h"
#include "test_support/temp_folder.h"
#include "text/run_failure.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <numeric>
#include <set>
#include <string>
#include <vector>

namespace stambrix::output {
namespace {

namespace fs = std::filesystem;
using Names = std::set<std::string>;

class TextOutput : public ::testing::Test
{
protected:
    void WriteFile(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }
    static std::string ReadFile(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    // Names of everything in the folder, so a temporary file left behind shows.
    Names FolderContents() const
    {
        Names names;
        for (const auto& entry : fs::directory_iterator(folder_.path()))
            names.insert(entry.path().filename().string());
        return names;
    }
    static index::IndexList ListOf(const std::vector<std::string>& lines)
    {
        index::IndexList list;
        for (const std::string& line : lines)
            list.Add(line);
        return list;
    }
    // The text index of `lines` as the file `target`, put in place.
    static void WriteTextFile(const index::IndexList& lines, const fs::path& target,
                              progress::ProgressThrottle& progress, std::uint64_t& writtenCounter)
    {
        FolderFiles files(target.parent_path());
        WrittenCounter counter(progress, writtenCounter);
        WriteTextIndex(lines, files, target.filename().string(), counter);
        files.Publish();
    }
    // The text::RunFailure of `write`, checked to name `path` and give a reason.
    template <typename Write> static void ExpectRunFailureNaming(const fs::path& path, Write write)
    {
        try {
            write();
            ADD_FAILURE() << "no text::RunFailure";
        } catch (const text::RunFailure& e) {
            const std::string what = e.what();
            EXPECT_EQ(what.rfind(path.string() + ": ", 0), 0u) << what;
            EXPECT_GT(what.size(), path.string().size() + 2) << "no reason given: " << what;
        }
    }

    test_support::TempFolder folder_{"stambrix-text-writer"};
    fs::path target_ = folder_.path() / "Namen.txt";
    progress::ProgressThrottle progress_;
};

TEST_F(TextOutput, WriteTextIndexWritesEveryLineWithCrLfAndCountsItOnTheWrittenPanel)
{
    for (const std::size_t count : {1u, 3u, 250u}) {
        SCOPED_TRACE(std::to_string(count) + " lines");
        std::vector<std::string> lines;
        std::string expected;
        for (std::size_t i = 0; i < count; ++i) {
            // Tabs, an empty field and bytes above 127 go out as they are.
            lines.push_back("Berg, Jan van der " + std::to_string(i) + "\t* 03-10-1799\t\t[@I" + std::to_string(i) +
                            "@] M\xFCller \xC3\xA9");
            expected += lines.back() + "\r\n";
        }
        test_support::RecordingProgress recorded;
        progress::ProgressThrottle progress(recorded);
        std::uint64_t writtenCounter = 0;
        WriteTextFile(ListOf(lines), target_, progress, writtenCounter);
        progress.Flush();

        EXPECT_EQ(ReadFile(target_), expected);
        EXPECT_EQ(writtenCounter, count);
        EXPECT_EQ(test_support::LastOf(recorded.written), count);
        EXPECT_TRUE(recorded.read.empty());
        EXPECT_TRUE(recorded.time.empty());
        EXPECT_EQ(FolderContents(), Names{"Namen.txt"});
    }
}

TEST_F(TextOutput, SecondWriteTextIndexReplacesTheWholeFile)
{
    std::uint64_t writtenCounter = 0;
    WriteTextFile(ListOf({"Aa, Piet\t\t\t[@I1@]", "Bb, Klaas\t\t\t[@I2@]", "Cc, Joris\t\t\t[@I3@]"}), target_,
                  progress_, writtenCounter);
    writtenCounter = 0;
    WriteTextFile(ListOf({"Dd\t[@I4@]"}), target_, progress_, writtenCounter);
    EXPECT_EQ(ReadFile(target_), "Dd\t[@I4@]\r\n");
    EXPECT_EQ(FolderContents(), Names{"Namen.txt"});
}

TEST_F(TextOutput, WriteTextIndexRefusesReadOnlyTargetAndLeavesItAsItWas)
{
    const std::string old = "Oud, Jan\t\t\t[@I9@]\r\nOud, Piet\t\t\t[@I8@]\r\n";
    WriteFile(target_, old);
    fs::permissions(target_, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    std::uint64_t writtenCounter = 0;
    ExpectRunFailureNaming(target_,
                           [&] { WriteTextFile(ListOf({"Nieuw\t[@I1@]"}), target_, progress_, writtenCounter); });
    EXPECT_EQ(ReadFile(target_), old);
    EXPECT_EQ(FolderContents(), Names{"Namen.txt"});
}

TEST_F(TextOutput, WriteTextIndexIntoMissingFolderThrowsRunFailureNamingThePath)
{
    const fs::path target = folder_.path() / "Stambrix" / "Namen.txt";
    std::uint64_t writtenCounter = 0;
    ExpectRunFailureNaming(target,
                           [&] { WriteTextFile(ListOf({"Berg, Jan\t[@I1@]"}), target, progress_, writtenCounter); });
    EXPECT_TRUE(FolderContents().empty());
}

TEST_F(TextOutput, WriteTextIndexLeavesAFolderInTheTargetsPlaceAsItWas)
{
    fs::create_directory(target_);
    WriteFile(target_ / "eigen.txt", "van de gebruiker");
    std::uint64_t writtenCounter = 0;
    ExpectRunFailureNaming(target_,
                           [&] { WriteTextFile(ListOf({"Berg, Jan\t[@I1@]"}), target_, progress_, writtenCounter); });
    EXPECT_TRUE(fs::is_directory(target_));
    EXPECT_EQ(ReadFile(target_ / "eigen.txt"), "van de gebruiker");
    EXPECT_EQ(FolderContents(), Names{"Namen.txt"});
}

TEST_F(TextOutput, AtomicFileNotPublishedLeavesTheTargetAsItWas)
{
    // More than one write block, so part of the text has reached the temporary file.
    const std::string text(3 * 1024 * 1024, 'x');
    {
        AtomicFile file(target_);
        file.Write(text);
        file.Write(text);
    }
    EXPECT_TRUE(FolderContents().empty()) << "no target appears and no temporary file stays";

    const std::string old = "Oud\r\n";
    WriteFile(target_, old);
    {
        AtomicFile file(target_);
        file.Write(text);
        file.Write(text);
        EXPECT_EQ(ReadFile(target_), old) << "the target changes only at the commit";
    }
    EXPECT_EQ(ReadFile(target_), old);
    EXPECT_EQ(FolderContents(), Names{"Namen.txt"});
}

TEST_F(TextOutput, AtomicFilePublishPutsAllWrittenBytesInPlace)
{
    WriteFile(target_, "Oud\r\n");
    std::string expected;
    {
        AtomicFile file(target_);
        // Pieces of odd sizes that together cross several write blocks.
        for (int i = 0; expected.size() < 3 * 1024 * 1024; ++i) {
            const std::string piece(static_cast<std::size_t>(1 + i * 7919 % 65521), static_cast<char>('a' + i % 26));
            file.Write(piece);
            expected += piece;
        }
        file.Complete();
        file.Publish();
    }
    EXPECT_TRUE(ReadFile(target_) == expected) << "the file differs from the " << expected.size() << " bytes written";
    EXPECT_EQ(FolderContents(), Names{"Namen.txt"});
}

} // namespace
} // namespace stambrix::output
