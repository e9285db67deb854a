#include "output/atomic_file.h"

#include "output/replaceable_target.h"
#include "output/temporary_files.h"
#include "text/run_failure.h"
#include "text/system_path.h"

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <unistd.h>

namespace stambrix::output {

namespace {
constexpr std::size_t kWriteBlockSize = 1 << 20;
constexpr mode_t kPermissionBits = 07777;

// The status of the entry `target` when it is a regular file; nothing otherwise. A symbolic link is
// not followed: whoever planted one would otherwise choose the owner and bits of the new file.
std::optional<struct stat> ReplacedFileOf(const std::filesystem::path& target)
{
    struct stat status = {};
    if (lstat(target.c_str(), &status) != 0 || !S_ISREG(status.st_mode))
        return std::nullopt;
    return status;
}
} // namespace

// Owner and group go first: changing them clears the set-id bits, which the permission bits then set again.
bool TakeOverPermissions(int fd, const struct stat& replaced)
{
    struct stat created = {};
    if (fstat(fd, &created) != 0)
        return false;
    bool ownerChanged = false;
    if (created.st_uid != replaced.st_uid || created.st_gid != replaced.st_gid)
        ownerChanged = fchown(fd, replaced.st_uid, replaced.st_gid) == 0 ||
                       (created.st_gid != replaced.st_gid && fchown(fd, static_cast<uid_t>(-1), replaced.st_gid) == 0);
    if (!ownerChanged && (created.st_mode & kPermissionBits) == (replaced.st_mode & kPermissionBits))
        return true;
    return fchmod(fd, replaced.st_mode & kPermissionBits) == 0;
}

bool CannotExchange(int failure)
{
    return failure == EINVAL || failure == ENOSYS || failure == EOPNOTSUPP;
}

AtomicFile::AtomicFile(const std::filesystem::path& target) : target_(target)
{
    CheckReplaceable(target_);
    const std::optional<struct stat> replaced = ReplacedFileOf(target_);
    // Reserved first: once the temporary file exists, nothing in here may throw past it.
    buffer_.reserve(kWriteBlockSize);
    const int failure = MakeTemporaryFile(
        target_, [&](const std::filesystem::path& temporary) { return CreateTemporary(temporary, replaced); },
        temporary_, slot_);
    if (failure != 0)
        throw text::RunFailureFromErrno(text::Utf8Of(target_), failure);
}

// Creates the file `temporary`, open in `file_`, and returns 0; or returns the error number and
// leaves nothing behind.
int AtomicFile::CreateTemporary(const std::filesystem::path& temporary, const std::optional<struct stat>& replaced)
{
    // Never wider than the file it replaces, not even until the bits are set: whoever opened it in
    // between could read on.
    const mode_t mode = replaced ? (replaced->st_mode & 0777) : 0666;
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    int failure = fd < 0 ? errno : 0;
    if (failure == 0 && replaced && !TakeOverPermissions(fd, *replaced))
        failure = errno;
    if (failure == 0 && (file_ = fdopen(fd, "wb")) == nullptr)
        failure = errno;
    if (failure != 0 && fd >= 0) {
        close(fd);
        unlink(temporary.c_str());
    }
    return failure;
}

AtomicFile::~AtomicFile()
{
    if (file_ != nullptr)
        std::fclose(file_);
    if (stage_ == Stage::Placed)
        Undo();
    if (stage_ == Stage::Writing) {
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
        throw text::RunFailureFromErrno(text::Utf8Of(target_), errno != 0 ? errno : EIO);
    buffer_.clear();
}

void AtomicFile::Complete()
{
    Flush();
    // A completed file waits for the rest of its set: it keeps no write buffer meanwhile.
    std::string().swap(buffer_);
    if (std::fflush(file_) != 0)
        throw text::RunFailureFromErrno(text::Utf8Of(target_), errno);
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
        throw text::RunFailureFromErrno(text::Utf8Of(target_), errno);
    const int closed = std::fclose(file_);
    file_ = nullptr;
    if (closed != 0)
        throw text::RunFailureFromErrno(text::Utf8Of(target_), errno);
}

void AtomicFile::Publish()
{
    PutInPlace();
    Keep();
}

void AtomicFile::PutInPlace()
{
    MakeDurable();
    // The two names trade places: the target shows the new file at once, and the temporary name
    // holds the earlier one.
    if (renameat2(AT_FDCWD, temporary_.c_str(), AT_FDCWD, target_.c_str(), RENAME_EXCHANGE) == 0) {
        kept_ = KeptFile::Adopt(temporary_, slot_);
        stage_ = Stage::Placed;
        return;
    }
    const int failure = errno;
    if (failure != ENOENT && !CannotExchange(failure))
        throw text::RunFailureFromErrno(text::Utf8Of(target_), failure);
    // No file to keep (ENOENT), or a file system that cannot exchange: the earlier file gets a
    // second name, or else is moved aside, before the new one takes its place.
    if (failure != ENOENT) {
        kept_ = KeptFile::LinkTo(target_);
        if (!kept_.Holds())
            kept_ = KeptFile::MoveAside(target_);
    }
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0) {
        const int renameFailure = errno;
        // A second name goes; a file moved aside comes back.
        struct stat status = {};
        if (lstat(target_.c_str(), &status) == 0)
            kept_.Drop();
        else
            kept_.PutBack(target_);
        throw text::RunFailureFromErrno(text::Utf8Of(target_), renameFailure);
    }
    UnregisterTemporaryFile(slot_);
    stage_ = Stage::Placed;
}

void AtomicFile::Keep()
{
    kept_.Drop();
    stage_ = Stage::Done;
}

int AtomicFile::Undo() noexcept
{
    if (stage_ != Stage::Placed)
        return 0;
    stage_ = Stage::Done;
    if (kept_.Holds())
        return kept_.PutBack(target_);
    return unlink(target_.c_str()) == 0 ? 0 : errno;
}

} // namespace stambrix::output
