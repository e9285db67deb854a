#include "output/publish_journal.h"

#include "output/stale_temporary_files.h"
#include "output/temporary_files.h"
#include "test_support/file_bytes.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdio.h>

#include <filesystem>
#include <string>
#include <vector>

namespace stambrix::output {
namespace {

namespace fs = std::filesystem;
using test_support::ContentsOf;
using test_support::DifferencesBetween;
using test_support::FolderContents;
using test_support::WriteBytes;

// A publish cut off by a crash, set up by hand: "a.htm" and "b.htm" are replaced, "d.htm" is new and
// "c.htm" goes; the journal is written, and the renames are made as far as the crash let them.
class InterruptedPublish : public ::testing::Test
{
protected:
    fs::path File(const std::string& name) const { return folder_.path() / name; }

    void SetUp() override
    {
        for (const std::string name : {"a.htm", "b.htm", "c.htm"})
            WriteBytes(File(name), "oud " + name);
        earlier_ = ContentsOf(folder_.path());
        std::vector<JournalEntry> entries;
        for (const std::string name : {"a.htm", "b.htm", "d.htm"}) {
            const fs::path temporary = TemporaryPathFor(File(name), 0);
            WriteBytes(temporary, "nieuw " + name);
            temporaries_.push_back(temporary);
            entries.push_back({name, IdentityOf(temporary), IdentityOf(File(name)), temporary.filename().string()});
        }
        entries.push_back({"c.htm", std::nullopt, IdentityOf(File("c.htm")), {}});
        PublishJournal journal(folder_.path(), entries);
    }

    /// The renames of the publish up to the crash: "a.htm" exchanged with its temporary file, "d.htm"
    /// put in place, "c.htm" set aside under a temporary name; "b.htm" is not reached.
    void RenameAsFarAsTheCrash()
    {
        ASSERT_EQ(renameat2(AT_FDCWD, temporaries_[0].c_str(), AT_FDCWD, File("a.htm").c_str(), RENAME_EXCHANGE), 0);
        fs::rename(temporaries_[2], File("d.htm"));
        fs::rename(File("c.htm"), TemporaryPathFor(File("c.htm"), 0));
    }

    test_support::TempFolder folder_{"stambrix-journal"};
    FolderContents earlier_;
    std::vector<fs::path> temporaries_;
};

TEST_F(InterruptedPublish, IsUndoneWhateverNameEachEarlierFileHasNow)
{
    RenameAsFarAsTheCrash();

    TidyAfterKilledRuns(folder_.path());

    EXPECT_EQ(DifferencesBetween(earlier_, ContentsOf(folder_.path())), "");
}

// The earlier files go only once the journal has gone: a journal that outlived its publish (its
// removal lost in a power cut) finds them gone and leaves the new files.
TEST_F(InterruptedPublish, ThatHadEndedIsLeftWhole)
{
    RenameAsFarAsTheCrash();
    fs::rename(temporaries_[1], File("b.htm"));
    RemoveStaleTemporaryFiles(folder_.path());
    const FolderContents published = ContentsOf(folder_.path());

    TidyAfterKilledRuns(folder_.path());

    FolderContents expected = published;
    expected.erase(kPublishJournalName);
    EXPECT_EQ(DifferencesBetween(expected, ContentsOf(folder_.path())), "");
}

} // namespace
} // namespace stambrix::output
