#include "output/folder_lock.h"

#include "text/run_failure.h"

#include <cerrno>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace stambrix::output {

namespace {
int Lock(int fd, int operation)
{
    int result;
    do
        result = flock(fd, operation);
    while (result != 0 && errno == EINTR);
    return result == 0 ? 0 : errno;
}

// Takes the lock of `fd`, calling `waiting` first when another holds it; 0 or the error number.
// The wait tries again and again rather than blocking in flock, so that a cancelled run ends it: `fd`
// is then closed, as no FolderLock is made to close it, and RunCancelled thrown.
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
} // namespace

FolderLock::FolderLock(const std::filesystem::path& folder, const std::function<void()>& waiting,
                       const progress::Cancellation& cancellation)
{
    fd_ = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_ >= 0 && LockWaiting(fd_, waiting, cancellation) == 0)
        return;
    if (fd_ >= 0)
        close(fd_);
    // NFS takes an exclusive lock only on a file open for writing.
    const std::filesystem::path path = folder / kFolderLockName;
    fd_ = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd_ < 0) {
        if (errno == EACCES || errno == EROFS || errno == EPERM)
            return;
        throw text::RunFailureFromErrno(path.string(), errno);
    }
    if (const int failure = LockWaiting(fd_, waiting, cancellation)) {
        close(fd_);
        fd_ = -1;
        throw text::RunFailureFromErrno(path.string(), failure);
    }
}

FolderLock::~FolderLock()
{
    if (fd_ >= 0)
        close(fd_);
}

} // namespace stambrix::output
