#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

// The calls on the file system that the output files make, one file for Linux (POSIX calls) and one
// for Windows. Each returns 0 or an errno value (Windows' own errors are given as their errno
// counterparts, text::ErrnoOfWindowsError); none throws.
namespace stambrix::output {

/// An open file or folder: a file descriptor on Linux, a HANDLE on Windows.
using FileHandle = std::intptr_t;
inline constexpr FileHandle kNoFile = -1;

/// Which file a folder entry is: a rename keeps it, and no other file has it while this one exists.
/// On Windows the volume's serial number and the file's index.
struct FileIdentity
{
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const FileIdentity&) const = default;
};

/// The owner, group and permission bits of a file or folder, which the new one that replaces it
/// takes over. Windows gives a new file the rights of its folder: there a file has none of these.
struct Permissions
{
    unsigned mode = 0;
    unsigned owner = 0;
    unsigned group = 0;
};

/// What stands at a path itself, a symbolic link not followed.
enum class EntryKind
{
    None,
    File,
    Folder,
    Link,
    Other
};

/// What stands at `path`; None also when the path cannot be looked at.
EntryKind EntryKindOf(const std::filesystem::path& path);

/// The identity of the entry `path` itself, a symbolic link not followed; nothing when there is none.
std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path);

/// The permissions of the regular file or the folder at `path` (a symbolic link not followed);
/// nothing for anything else, or on Windows.
std::optional<Permissions> PermissionsOf(const std::filesystem::path& path);

/// Makes the new file `path` (none may stand there) open for writing in `file`, no wider for others
/// than `like` and with its owner and group where the process may give them. Leaves nothing behind
/// when it fails.
int CreateNewFile(const std::filesystem::path& path, const std::optional<Permissions>& like, FileHandle& file);

/// Writes all of `bytes` to `file`, again after an interruption.
int WriteAll(FileHandle file, std::string_view bytes);

/// Has the system start putting what was written to `file` on the disk, without waiting for it.
void StartWriteBack(FileHandle file) noexcept;

/// Waits until what was written to `file` is on the disk.
int SyncFile(FileHandle file);

/// Closes `file`.
int CloseFile(FileHandle file) noexcept;

/// Waits until the file `path` is on the disk.
int SyncFileAt(const std::filesystem::path& path);

/// Has the renames in `folder` reach the disk. A folder that this user may not read, and a file
/// system that syncs no folders, pass.
int SyncFolder(const std::filesystem::path& folder);

/// Opens the folder `path`, for SyncFileSystem.
int OpenFolder(const std::filesystem::path& path, FileHandle& folder);

/// Waits until everything written on the file system of the open `folder` since it was opened is on
/// the disk, in one sync of the whole file system. ENOSYS where that is not to be relied on (FUSE
/// passes it on to few file systems; Windows has none): each file is then synced by itself.
int SyncFileSystem(FileHandle folder);

/// Makes the folder `path`, no wider for others than `like` and open to its owner.
int MakeFolder(const std::filesystem::path& path, const std::optional<Permissions>& like);

/// Gives the folder `path` exactly the permission bits of `like`.
int GiveFolderPermissions(const std::filesystem::path& path, const Permissions& like);

/// Trades the names `from` and `to` in one step. ENOENT when `to` does not exist; an error for which
/// CannotExchange holds where the system or the file system cannot do it.
int ExchangeNames(const std::filesystem::path& from, const std::filesystem::path& to);

/// Whether the ExchangeNames failure `failure` says the exchange cannot be done there at all.
bool CannotExchange(int failure);

/// Renames `from` to `to`, replacing a file that stands there, and on Windows writes the change
/// through to the disk before it returns.
int RenameOver(const std::filesystem::path& from, const std::filesystem::path& to);

/// Gives the file `path` the second name `name`, which must be free.
int AddName(const std::filesystem::path& path, const std::filesystem::path& name);

/// Removes the file `path`.
int RemoveFile(const std::filesystem::path& path);

} // namespace stambrix::output
