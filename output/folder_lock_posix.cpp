#include "output/folder_lock.h"

#include "output/temporary_files.h"
#include "text/run_failure.h"
#include "text/system_path.h"

#include <cerrno>
#include <thread>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace stambrix::output {

namespace {
constexpr int kOpenFlags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

int Lock(int fd, int operation)
{
    int result;
    do
        result = flock(fd, operation);
    while (result != 0 && errno == EINTR);
    return result == 0 ? 0 : errno;
}

// The folder refuses a new file to this user, or to everyone.
bool TakesNoFiles(int failure)
{
    return failure == EACCES || failure == EPERM || failure == EROFS;
}

// Opens the lock file `path`, made when there is none; -1 when the folder takes no file. Throws
// text::RunFailure when a lock file is there but cannot be opened.
int OpenLockFile(const std::filesystem::path& path)
{
    for (;;) {
        // Not made in the same call: in a sticky folder the system refuses O_CREAT on another user's
        // file, which opens all the same without it.
        int fd = open(path.c_str(), O_RDWR | kOpenFlags);
        // A file this user may not write, left by another: on a local disk a file open for reading
        // takes the lock as well.
        if (fd < 0 && errno == EACCES)
            fd = open(path.c_str(), O_RDONLY | kOpenFlags);
        if (fd >= 0)
            return fd;
        if (errno == EROFS)
            return -1;
        if (errno != ENOENT)
            throw text::RunFailureFromErrno(text::Utf8Of(path), errno);
        fd = open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | kOpenFlags, 0666);
        if (fd >= 0) {
            // The umask narrowed the bits at creation; every user who may write into the folder may
            // run next. Should the bits stay narrow, the others open the file for reading.
            (void)fchmod(fd, 0666);
            return fd;
        }
        if (TakesNoFiles(errno))
            return -1;
        if (errno != EEXIST)
            throw text::RunFailureFromErrno(text::Utf8Of(path), errno);
    }
}

// Takes the lock of `fd`, calling `waiting` first when another holds it; 0 or the error number. The
// wait tries again and again rather than blocking in flock, so that a cancelled run ends it: `fd` is
// then closed, as no FolderLock is made to close it, and RunCancelled thrown.
int LockWaiting(int fd, const std::function<void()>& waiting, const progress::Cancellation& cancellation)
{
    int failure = Lock(fd, LOCK_EX | LOCK_NB);
    if (failure != EWOULDBLOCK)
        return failure;
    waiting();
    while ((failure = Lock(fd, LOCK_EX | LOCK_NB)) == EWOULDBLOCK) {
        if (cancellation.IsCancelled()) {
            close(fd);
            throw progress::RunCancelled();
        }
        std::this_thread::sleep_for(kFolderLockRetry);
    }
    return failure;
}

// `fd` is still the file at `path`: the run before may have removed it while this one waited.
bool IsStillAt(int fd, const std::filesystem::path& path)
{
    struct stat opened = {};
    struct stat there = {};
    return fstat(fd, &opened) == 0 && lstat(path.c_str(), &there) == 0 && opened.st_dev == there.st_dev &&
           opened.st_ino == there.st_ino;
}
} // namespace

FolderLock::FolderLock(const std::filesystem::path& folder, const std::function<void()>& waiting,
                       const progress::Cancellation& cancellation)
    : path_(folder / kFolderLockName)
{
    // Told once, also when the lock file of the run waited for went and the next one is waited for.
    bool told = false;
    const std::function<void()> tellOnce = [&] {
        if (!std::exchange(told, true))
            waiting();
    };
    int fd = -1;
    while ((fd = OpenLockFile(path_)) >= 0) {
        const int failure = LockWaiting(fd, tellOnce, cancellation);
        if (failure != 0) {
            close(fd);
            throw text::RunFailureFromErrno(text::Utf8Of(path_), failure);
        }
        if (IsStillAt(fd, path_)) {
            file_ = fd;
            slot_ = RegisterTemporaryFile(path_.c_str());
            return;
        }
        close(fd);
    }
}

FolderLock::~FolderLock()
{
    if (file_ == kNoFile)
        return;
    // Removed while still held: a run waiting on this file then finds that it went, and takes the
    // lock of the next one. Once an interrupted program has removed it, another run may have made
    // the next one.
    if (!slot_ || UnregisterTemporaryFile(*slot_))
        unlink(path_.c_str());
    close(static_cast<int>(file_));
}

} // namespace stambrix::output
