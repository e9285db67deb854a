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

TEST_F(TemporaryFiles, TheNameOfATemporaryFileGivesItsProcess)
{
    AtomicFile file(File("Namen.txt"));
    const std::set<std::string> names = EntriesOf(folder_.path());
    ASSERT_EQ(names.size(), 1u);
    EXPECT_EQ(ProcessOfTemporaryName(*names.begin()), getpid()) << *names.begin();
}

} // namespace
} // namespace stambrix::output
