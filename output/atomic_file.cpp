#include "output/atomic_file.h"

#include "output/temporary_files.h"
#include "text/io_error.h"

#include <atomic>
#include <cerrno>
#include <chrono>

#include <fcntl.h>
#include <unistd.h>

namespace stambrix::output {

namespace {
constexpr std::size_t kWriteBlockSize = 1 << 20;
constexpr mode_t kPermissionBits = 07777;

// The status of the regular file that `target` names; nothing when there is none.
std::optional<struct stat> ReplacedFileOf(const std::filesystem::path& target)
{
    struct stat status = {};
    if (stat(target.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return status;
}

bool IsReadOnly(const struct stat& file)
{
    return (file.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

// Gives the open file `fd` the group and permission bits of `replaced`; a group the process may not
// give stays the default. The group goes first: changing it clears the set-id bits, which the
// permission bits then set again. False, with errno set, when the bits cannot be given.
bool TakeOverPermissions(int fd, const struct stat& replaced)
{
    struct stat created = {};
    if (fstat(fd, &created) != 0)
        return false;
    const bool groupChanged =
        created.st_gid != replaced.st_gid && fchown(fd, static_cast<uid_t>(-1), replaced.st_gid) == 0;
    if (!groupChanged && (created.st_mode & kPermissionBits) == (replaced.st_mode & kPermissionBits))
        return true;
    return fchmod(fd, replaced.st_mode & kPermissionBits) == 0;
}

// A name no other writer uses at the same moment, in this process or another.
std::filesystem::path TemporaryPathFor(const std::filesystem::path& target, unsigned attempt)
{
    static std::atomic<unsigned> counter{0};
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    std::string name(1, '.');
    name.append(target.filename().string());
    name.append(1, '.').append(std::to_string(getpid()));
    for (const auto part : {static_cast<unsigned long long>(now % 1000000007),
                            static_cast<unsigned long long>(counter++), static_cast<unsigned long long>(attempt)})
        name.append(1, '.').append(std::to_string(part));
    name.append(".tmp");
    return target.parent_path() / name;
}
} // namespace

AtomicFile::AtomicFile(const std::filesystem::path& target) : target_(target)
{
    const std::optional<struct stat> replaced = ReplacedFileOf(target_);
    if (replaced && IsReadOnly(*replaced))
        throw IoErrorFromErrno(target_.string(), EACCES);
    // Reserved first: once the temporary file exists, nothing in here may throw past it.
    buffer_.reserve(kWriteBlockSize);
    for (unsigned attempt = 0;; ++attempt) {
        temporary_ = TemporaryPathFor(target_, attempt);
        const int failure = CreateTemporary(replaced);
        if (failure == 0)
            return;
        if (failure != EEXIST || attempt == 100)
            throw IoErrorFromErrno(target_.string(), failure);
    }
}

// Creates the temporary file, registered and open in `file_`, and returns 0; or returns the error
// number and leaves nothing behind.
int AtomicFile::CreateTemporary(const std::optional<struct stat>& replaced)
{
    // Registered before it exists, so that no moment has the file on disk and outside the registry.
    const std::optional<std::size_t> slot = RegisterTemporaryFile(temporary_.c_str());
    if (!slot)
        return temporary_.native().size() >= kTemporaryPathCapacity ? ENAMETOOLONG : EMFILE;
    // Never wider than the file it replaces, not even until the bits are set: whoever opened it in
    // between could read on.
    const mode_t mode = replaced ? (replaced->st_mode & 0777) : 0666;
    const int fd = open(temporary_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    int failure = fd < 0 ? errno : 0;
    if (failure == 0 && replaced && !TakeOverPermissions(fd, *replaced))
        failure = errno;
    if (failure == 0 && (file_ = fdopen(fd, "wb")) == nullptr)
        failure = errno;
    if (failure == 0) {
        slot_ = *slot;
        return 0;
    }
    if (fd >= 0) {
        close(fd);
        unlink(temporary_.c_str());
    }
    UnregisterTemporaryFile(*slot);
    return failure;
}

AtomicFile::~AtomicFile()
{
    if (file_ != nullptr)
        std::fclose(file_);
    if (!published_) {
        unlink(temporary_.c_str());
        UnregisterTemporaryFile(slot_);
    }
}

void AtomicFile::Write(std::string_view bytes)
{
    if (buffer_.size() + bytes.size() > kWriteBlockSize)
        Flush();
    buffer_.append(bytes);
}

void AtomicFile::Flush()
{
    errno = 0;
    if (!buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
        throw IoErrorFromErrno(target_.string(), errno != 0 ? errno : EIO);
    buffer_.clear();
}

void AtomicFile::Complete()
{
    Flush();
    // A completed file waits for the rest of its set: it keeps no write buffer meanwhile.
    std::string().swap(buffer_);
    if (std::fflush(file_) != 0)
        throw IoErrorFromErrno(target_.string(), errno);
#ifdef SYNC_FILE_RANGE_WRITE
    // The disk takes the bytes while the next file is written; MakeDurable waits for them.
    sync_file_range(fileno(file_), 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
}

void AtomicFile::MakeDurable()
{
    if (file_ == nullptr)
        return;
    if (fsync(fileno(file_)) != 0)
        throw IoErrorFromErrno(target_.string(), errno);
    const int closed = std::fclose(file_);
    file_ = nullptr;
    if (closed != 0)
        throw IoErrorFromErrno(target_.string(), errno);
}

void AtomicFile::Publish()
{
    MakeDurable();
    std::error_code error;
    std::filesystem::rename(temporary_, target_, error);
    if (error)
        throw IoError(target_.string(), error.message(), error.value());
    published_ = true;
    UnregisterTemporaryFile(slot_);
}

} // namespace stambrix::output
