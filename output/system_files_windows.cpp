#include "output/system_files.h"

#include "text/windows_error.h"

#include <algorithm>
#include <cerrno>

#include <windows.h>

namespace stambrix::output {

namespace {
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

HANDLE HandleOf(FileHandle file)
{
    return reinterpret_cast<HANDLE>(file);
}

FileHandle FileHandleOf(HANDLE handle)
{
    return reinterpret_cast<FileHandle>(handle);
}

// Opens the entry `path` itself, a file or a folder, a link not followed; INVALID_HANDLE_VALUE when
// it cannot.
HANDLE OpenEntry(const std::filesystem::path& path, DWORD access)
{
    return CreateFileW(path.c_str(), access, kShareAll, nullptr, OPEN_EXISTING,
                       FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
}
} // namespace

EntryKind EntryKindOf(const std::filesystem::path& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return EntryKind::None;
    if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0)
        return EntryKind::Link;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? EntryKind::Folder : EntryKind::File;
}

std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path)
{
    const HANDLE entry = OpenEntry(path, 0);
    if (entry == INVALID_HANDLE_VALUE)
        return std::nullopt;
    BY_HANDLE_FILE_INFORMATION information = {};
    const bool known = GetFileInformationByHandle(entry, &information) != 0;
    CloseHandle(entry);
    if (!known)
        return std::nullopt;
    return FileIdentity{information.dwVolumeSerialNumber,
                        (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow};
}

std::optional<Permissions> PermissionsOf(const std::filesystem::path& /*path*/)
{
    return std::nullopt;
}

int CreateNewFile(const std::filesystem::path& path, const std::optional<Permissions>& /*like*/, FileHandle& file)
{
    // Others may read it and rename it, not write it while it is being written.
    const HANDLE created = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                       CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (created == INVALID_HANDLE_VALUE)
        return text::LastWindowsError();
    file = FileHandleOf(created);
    return 0;
}

int WriteAll(FileHandle file, std::string_view bytes)
{
    while (!bytes.empty()) {
        const auto asked = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1U << 30));
        DWORD written = 0;
        if (!WriteFile(HandleOf(file), bytes.data(), asked, &written, nullptr))
            return text::LastWindowsError();
        bytes.remove_prefix(written);
    }
    return 0;
}

// Windows writes its cache out by itself; SyncFile waits for it.
void StartWriteBack(FileHandle /*file*/) noexcept {}

int SyncFile(FileHandle file)
{
    return FlushFileBuffers(HandleOf(file)) ? 0 : text::LastWindowsError();
}

int CloseFile(FileHandle file) noexcept
{
    return CloseHandle(HandleOf(file)) ? 0 : text::LastWindowsError();
}

int SyncFileAt(const std::filesystem::path& path)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, kShareAll, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return text::LastWindowsError();
    const int failure = FlushFileBuffers(file) ? 0 : text::LastWindowsError();
    CloseHandle(file);
    return failure;
}

// NTFS keeps its folders in its journal, and the renames are written through (RenameOver): there is
// no folder of its own to sync.
int SyncFolder(const std::filesystem::path& /*folder*/)
{
    return 0;
}

int OpenFolder(const std::filesystem::path& path, FileHandle& folder)
{
    const HANDLE opened = OpenEntry(path, FILE_LIST_DIRECTORY);
    if (opened == INVALID_HANDLE_VALUE)
        return text::LastWindowsError();
    folder = FileHandleOf(opened);
    return 0;
}

int SyncFileSystem(FileHandle /*folder*/)
{
    return ENOSYS;
}

int MakeFolder(const std::filesystem::path& path, const std::optional<Permissions>& /*like*/)
{
    return CreateDirectoryW(path.c_str(), nullptr) ? 0 : text::LastWindowsError();
}

int GiveFolderPermissions(const std::filesystem::path& /*path*/, const Permissions& /*like*/)
{
    return 0;
}

// Windows has no exchange of two names: the earlier file is kept under a second name or moved aside.
int ExchangeNames(const std::filesystem::path& /*from*/, const std::filesystem::path& to)
{
    return EntryKindOf(to) == EntryKind::None ? ENOENT : ENOSYS;
}

bool CannotExchange(int failure)
{
    return failure == ENOSYS;
}

int RenameOver(const std::filesystem::path& from, const std::filesystem::path& to)
{
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? 0
               : text::LastWindowsError();
}

int AddName(const std::filesystem::path& path, const std::filesystem::path& name)
{
    return CreateHardLinkW(name.c_str(), path.c_str(), nullptr) ? 0 : text::LastWindowsError();
}

int RemoveFile(const std::filesystem::path& path)
{
    return DeleteFileW(path.c_str()) ? 0 : text::LastWindowsError();
}

} // namespace stambrix::output
