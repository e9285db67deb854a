#include "gedcom/byte_source.h"

#include "text/run_failure.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace stambrix::gedcom {

FileSource::FileSource(const std::string& path) : path_(path)
{
    do
        file_ = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    while (file_ < 0 && errno == EINTR);
    if (file_ < 0)
        throw text::RunFailureFromErrno(path, errno);
    // A folder opens for reading and only fails at the first read.
    const int reason = fstat(file_, &opened_) != 0 ? errno : S_ISDIR(opened_.st_mode) ? EISDIR : 0;
    if (reason != 0) {
        close(file_);
        throw text::RunFailureFromErrno(path, reason);
    }
}

FileSource::~FileSource()
{
    close(file_);
}

std::size_t FileSource::Read(char* buffer, std::size_t size)
{
    const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(size, remaining_));
    std::size_t count = 0;
    // The buffer is filled as far as the file goes: a short read only ends at the end of the file.
    while (count < wanted) {
        const ssize_t got = read(file_, buffer + count, wanted - count);
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
    if (fstat(file_, &status) != 0)
        throw text::RunFailureFromErrno(path_, errno);
    return static_cast<std::uint64_t>(status.st_size);
}

void FileSource::Restrict(std::uint64_t begin, std::uint64_t end)
{
    if (lseek(file_, static_cast<off_t>(begin), SEEK_SET) < 0)
        throw text::RunFailureFromErrno(path_, errno);
    remaining_ = end - begin;
}

void FileSource::CheckUnchanged() const
{
    if (!S_ISREG(opened_.st_mode))
        return;
    struct stat now = {};
    struct stat named = {};
    const bool same = fstat(file_, &now) == 0 && now.st_size == opened_.st_size &&
                      now.st_mtim.tv_sec == opened_.st_mtim.tv_sec && now.st_mtim.tv_nsec == opened_.st_mtim.tv_nsec &&
                      stat(path_.c_str(), &named) == 0 && named.st_dev == opened_.st_dev &&
                      named.st_ino == opened_.st_ino;
    if (!same)
        throw text::RunFailure(path_, kChangedWhileRead);
}

std::size_t MemorySource::Read(char* buffer, std::size_t size)
{
    const std::size_t count = std::min(size, bytes_.size());
    std::memcpy(buffer, bytes_.data(), count);
    bytes_.remove_prefix(count);
    return count;
}

} // namespace stambrix::gedcom
