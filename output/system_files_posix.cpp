#include "output/system_files.h"

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#ifdef __linux__
#include <sys/vfs.h>
#endif
#include <unistd.h>

namespace stambrix::output {

namespace {
constexpr mode_t kPermissionBits = 07777;
#ifdef __linux__
constexpr decltype(statfs::f_type) kFuseMagic = 0x65735546;
#endif

int DescriptorOf(FileHandle file)
{
    return static_cast<int>(file);
}

// Gives the open file or folder `fd` the owner and group of `like` where the process may give them,
// then its permission bits; 0 or the error number. Owner and group go first: changing them clears
// the set-id bits, which the permission bits then set again.
int TakeOverPermissions(int fd, const Permissions& like)
{
    struct stat created = {};
    if (fstat(fd, &created) != 0)
        return errno;
    const auto owner = static_cast<uid_t>(like.owner);
    const auto group = static_cast<gid_t>(like.group);
    bool ownerChanged = false;
    if (created.st_uid != owner || created.st_gid != group)
        ownerChanged = fchown(fd, owner, group) == 0 ||
                       (created.st_gid != group && fchown(fd, static_cast<uid_t>(-1), group) == 0);
    if (!ownerChanged && (created.st_mode & kPermissionBits) == (like.mode & kPermissionBits))
        return 0;
    return fchmod(fd, like.mode & kPermissionBits) == 0 ? 0 : errno;
}
} // namespace

EntryKind EntryKindOf(const std::filesystem::path& path)
{
    struct stat status = {};
    if (lstat(path.c_str(), &status) != 0)
        return EntryKind::None;
    if (S_ISREG(status.st_mode))
        return EntryKind::File;
    if (S_ISDIR(status.st_mode))
        return EntryKind::Folder;
    return S_ISLNK(status.st_mode) ? EntryKind::Link : EntryKind::Other;
}

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path)
{
    struct stat status = {};
    if (lstat(path.c_str(), &status) != 0)
        return std::nullopt;
    return FileIdentity{static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

std::optional<Permissions> PermissionsOf(const std::filesystem::path& path)
{
    struct stat status = {};
    if (lstat(path.c_str(), &status) != 0 || !(S_ISREG(status.st_mode) || S_ISDIR(status.st_mode)))
        return std::nullopt;
    return Permissions{status.st_mode & kPermissionBits, status.st_uid, status.st_gid};
}

int CreateNewFile(const std::filesystem::path& path, const std::optional<Permissions>& like, FileHandle& file)
{
    // Never wider than the file it replaces, not even until the bits are set: whoever opened it in
    // between could read on.
    const mode_t mode = like ? (like->mode & 0777) : 0666;
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0)
        return errno;
    if (like) {
        if (const int failure = TakeOverPermissions(fd, *like)) {
            close(fd);
            unlink(path.c_str());
            return failure;
        }
    }
    file = fd;
    return 0;
}

int WriteAll(FileHandle file, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = write(DescriptorOf(file), bytes.data(), bytes.size());
        if (written < 0 && errno != EINTR)
            return errno;
        if (written > 0)
            bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

void StartWriteBack(FileHandle file) noexcept
{
#ifdef SYNC_FILE_RANGE_WRITE
    sync_file_range(DescriptorOf(file), 0, 0, SYNC_FILE_RANGE_WRITE);
#else
    (void)file;
#endif
}

int SyncFile(FileHandle file)
{
    return fsync(DescriptorOf(file)) == 0 ? 0 : errno;
}

int CloseFile(FileHandle file) noexcept
{
    return close(DescriptorOf(file)) == 0 ? 0 : errno;
}

int SyncFileAt(const std::filesystem::path& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int failure = fsync(fd) == 0 ? 0 : errno;
    close(fd);
    return failure;
}

int SyncFolder(const std::filesystem::path& folder)
{
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno == EACCES ? 0 : errno;
    // EINVAL: a file system that syncs no folders.
    const int failure = fsync(fd) == 0 || errno == EINVAL ? 0 : errno;
    close(fd);
    return failure;
}

int OpenFolder(const std::filesystem::path& path, FileHandle& folder)
{
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return errno;
    folder = fd;
    return 0;
}

int SyncFileSystem(FileHandle folder)
{
#ifdef __linux__
    struct statfs system = {};
    if (fstatfs(DescriptorOf(folder), &system) != 0 || system.f_type == kFuseMagic)
        return ENOSYS;
    return syncfs(DescriptorOf(folder)) == 0 ? 0 : errno;
#else
    (void)folder;
    return ENOSYS;
#endif
}

int MakeFolder(const std::filesystem::path& path, const std::optional<Permissions>& like)
{
    // The owner may write the files in, whatever the bits of `like`; never wider for others.
    const mode_t mode = like ? ((like->mode & 0777) | S_IRWXU) : 0777;
    if (mkdir(path.c_str(), mode) != 0)
        return errno;
    if (!like)
        return 0;
    Permissions owned = *like;
    owned.mode |= S_IRWXU;
    const int fd = open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    const int failure = fd < 0 ? errno : TakeOverPermissions(fd, owned);
    if (fd >= 0)
        close(fd);
    if (failure != 0)
        rmdir(path.c_str());
    return failure;
}

int GiveFolderPermissions(const std::filesystem::path& path, const Permissions& like)
{
    struct stat status = {};
    if (lstat(path.c_str(), &status) == 0 && (status.st_mode & kPermissionBits) == (like.mode & kPermissionBits))
        return 0;
    return chmod(path.c_str(), like.mode & kPermissionBits) == 0 ? 0 : errno;
}

int ExchangeNames(const std::filesystem::path& from, const std::filesystem::path& to)
{
    return renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_EXCHANGE) == 0 ? 0 : errno;
}

bool CannotExchange(int failure)
{
    return failure == EINVAL || failure == ENOSYS || failure == EOPNOTSUPP;
}

int RenameOver(const std::filesystem::path& from, const std::filesystem::path& to)
{
    return std::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int AddName(const std::filesystem::path& path, const std::filesystem::path& name)
{
    return link(path.c_str(), name.c_str()) == 0 ? 0 : errno;
}

int RemoveFile(const std::filesystem::path& path)
{
    return unlink(path.c_str()) == 0 ? 0 : errno;
}

} // namespace stambrix::output
