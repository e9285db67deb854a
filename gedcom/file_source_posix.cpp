#include "gedcom/byte_source.h"

#include "text/run_failure.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace stambrix::gedcom {

namespace {
int DescriptorOf(std::intptr_t file)
{
    return static_cast<int>(file);
}

FileStamp StampOf(const struct stat& status)
{
    return {static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino),
            static_cast<std::uint64_t>(status.st_size),
            static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec};
}
} // namespace

FileSource::FileSource(const std::string& path) : path_(path)
{
    int fd = -1;
    do
        fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0)
        throw text::RunFailureFromErrno(path, errno);
    file_ = fd;
    // A folder opens for reading and only fails at the first read.
    struct stat status = {};
    const int reason = fstat(fd, &status) != 0 ? errno : S_ISDIR(status.st_mode) ? EISDIR : 0;
    if (reason != 0) {
        close(fd);
        throw text::RunFailureFromErrno(path, reason);
    }
    regular_ = S_ISREG(status.st_mode);
    opened_ = StampOf(status);
}

FileSource::~FileSource()
{
    close(DescriptorOf(file_));
}

std::size_t FileSource::Read(char* buffer, std::size_t size)
{
    const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(size, remaining_));
    std::size_t count = 0;
    // The buffer is filled as far as the file goes: a short read only ends at the end of the file.
    while (count < wanted) {
        const ssize_t got = read(DescriptorOf(file_), buffer + count, wanted - count);
        if (got == 0)
            break;
        if (got < 0) {
            if (errno == EINTR)
                continue;
            // The bytes before the failing ones are handed out; the next read meets the error again.
            if (count > 0)
                break;
            throw text::RunFailureFromErrno(path_, errno);
        }
        count += static_cast<std::size_t>(got);
    }
    remaining_ -= count;
    return count;
}

std::uint64_t FileSource::Size() const
{
    struct stat status = {};
    if (fstat(DescriptorOf(file_), &status) != 0)
        throw text::RunFailureFromErrno(path_, errno);
    return static_cast<std::uint64_t>(status.st_size);
}

void FileSource::Restrict(std::uint64_t begin, std::uint64_t end)
{
    if (lseek(DescriptorOf(file_), static_cast<off_t>(begin), SEEK_SET) < 0)
        throw text::RunFailureFromErrno(path_, errno);
    remaining_ = end - begin;
}

void FileSource::CheckUnchanged() const
{
    if (!regular_)
        return;
    struct stat now = {};
    struct stat named = {};
    const bool same = fstat(DescriptorOf(file_), &now) == 0 && StampOf(now) == opened_ &&
                      stat(path_.c_str(), &named) == 0 && StampOf(named).volume == opened_.volume &&
                      StampOf(named).file == opened_.file;
    if (!same)
        throw text::RunFailure(path_, kChangedWhileRead);
}

} // namespace stambrix::gedcom
