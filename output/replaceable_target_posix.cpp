#include "output/replaceable_target.h"

#include "text/run_failure.h"
#include "text/system_path.h"

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#ifdef __linux__
#include <linux/fs.h>
#include <sys/ioctl.h>
#endif

namespace stambrix::output {

namespace {
// The file or folder at `path` (not following a final symbolic link) is marked immutable or
// append-only; false where its flags cannot be read.
bool IsUnchangeable(const std::filesystem::path& path)
{
#ifdef FS_IOC_GETFLAGS
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return false;
    long flags = 0;
    const bool read = ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
    close(fd);
    return read && (flags & (FS_IMMUTABLE_FL | FS_APPEND_FL)) != 0;
#else
    (void)path;
    return false;
#endif
}

// In a sticky folder only the owner of a file, the owner of the folder or a privileged process may
// rename or remove the file.
bool IsOthersInStickyFolder(const struct stat& file, const struct stat& folder)
{
    const uid_t self = geteuid();
    return (folder.st_mode & S_ISVTX) != 0 && self != 0 && file.st_uid != self && folder.st_uid != self;
}
} // namespace

void CheckReplaceable(const std::filesystem::path& target)
{
    const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
    struct stat folderStatus = {};
    if (stat(folder.c_str(), &folderStatus) != 0)
        throw text::RunFailureFromErrno(text::Utf8Of(target), errno);
    if (IsUnchangeable(folder))
        throw text::RunFailureFromErrno(text::Utf8Of(folder), EPERM);
    struct stat status = {};
    if (lstat(target.c_str(), &status) != 0)
        return;
    if (S_ISDIR(status.st_mode))
        throw text::RunFailureFromErrno(text::Utf8Of(target), EISDIR);
    if (!S_ISREG(status.st_mode) && !S_ISLNK(status.st_mode))
        throw text::RunFailureFromErrno(text::Utf8Of(target), EEXIST);
    if (IsOthersInStickyFolder(status, folderStatus))
        throw text::RunFailureFromErrno(text::Utf8Of(target), EPERM);
    // A file marked read-only, also behind a link, is the user's wish that it stays.
    struct stat linked = {};
    if (stat(target.c_str(), &linked) == 0 && S_ISREG(linked.st_mode) &&
        (linked.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        throw text::RunFailureFromErrno(text::Utf8Of(target), EACCES);
    if (S_ISREG(status.st_mode) && IsUnchangeable(target))
        throw text::RunFailureFromErrno(text::Utf8Of(target), EPERM);
}

} // namespace stambrix::output
