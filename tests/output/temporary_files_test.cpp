#include "output/temporary_files.h"

#include "output/atomic_file.h"
#include "output/stale_temporary_files.h"
#include "test_support/file_bytes.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>
#include <string>

namespace stambrix::output {
namespace {

namespace fs = std::filesystem;
using test_support::EntriesOf;
using test_support::ReadBytes;
using test_support::WriteBytes;

class TemporaryFiles : public ::testing::Test
{
protected:
    fs::path File(const std::string& name) const { return folder_.path() / name; }

    test_support::TempFolder folder_{"stambrix-temporary"};
};

TEST_F(TemporaryFiles, RemoveTemporaryFilesRemovesTheUnfinishedFilesOnly)
{
    WriteBytes(File("Namen.txt"), "Oud\r\n");
    // In a process of its own: the registry keeps the files it has removed, as the process ends then.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        AtomicFile published(File("genealogie.css"));
        published.Write("nieuw");
        published.Complete();
        published.Publish();
        AtomicFile replacing(File("Namen.txt"));
        replacing.Write("Nieuw\r\n");
        AtomicFile completed(File("index.htm"));
        completed.Complete();
        RemoveTemporaryFiles();
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the child failed: status " << status;

    EXPECT_EQ(EntriesOf(folder_.path()), (std::set<std::string>{"Namen.txt", "genealogie.css"}));
    EXPECT_EQ(ReadBytes(File("Namen.txt")), "Oud\r\n");
    EXPECT_EQ(ReadBytes(File("genealogie.css")), "nieuw");
}

// Under the folder's lock every file of the temporary-name pattern is a killed run's, whatever
// process id its name holds; the user's own files that merely look alike stay, also a hidden file
// with the numbers of the pattern behind a name of its own.
TEST_F(TemporaryFiles, StaleTemporaryFilesAreThoseOfThePatternOnly)
{
    {
        AtomicFile file(File("Namen.txt"));
        const std::set<std::string> names = EntriesOf(folder_.path());
        ASSERT_EQ(names.size(), 1u);
        EXPECT_TRUE(IsTemporaryName(*names.begin())) << *names.begin();
    }
    const std::set<std::string> usersOwn = {".Namen.txt.4194303.52.3.0.tmp", ".stambrix-index.htm.1.2.3.tmp",
                                            "stambrix-Namen.txt.1.2.3.4.tmp", ".stambrix-1.2.3.4.tmp"};
    for (const std::string& name : usersOwn)
        WriteBytes(File(name), "van de gebruiker");
    WriteBytes(File(".stambrix-Namen.txt.4194303.52.3.0.tmp"), "van een gestopte run");
    fs::create_directory(File(".stambrix-map.1.2.3.4.tmp"));

    RemoveStaleTemporaryFiles(folder_.path());

    std::set<std::string> expected = usersOwn;
    expected.insert(".stambrix-map.1.2.3.4.tmp");
    EXPECT_EQ(EntriesOf(folder_.path()), expected);
}

} // namespace
} // namespace stambrix::output
