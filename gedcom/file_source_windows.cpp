#include "gedcom/byte_source.h"

#include "text/run_failure.h"
#include "text/system_path.h"
#include "text/windows_error.h"

#include <algorithm>
#include <cerrno>

#include <windows.h>

namespace stambrix::gedcom {

namespace {
HANDLE HandleOf(std::intptr_t file)
{
    return reinterpret_cast<HANDLE>(file);
}

// The stamp of the open file `file`; false when Windows cannot tell.
bool StampOf(HANDLE file, FileStamp& stamp)
{
    BY_HANDLE_FILE_INFORMATION information = {};
    if (!GetFileInformationByHandle(file, &information))
        return false;
    stamp = {information.dwVolumeSerialNumber,
             (std::uint64_t{information.nFileIndexHigh} << 32) | information.nFileIndexLow,
             (std::uint64_t{information.nFileSizeHigh} << 32) | information.nFileSizeLow,
             static_cast<std::int64_t>((std::uint64_t{information.ftLastWriteTime.dwHighDateTime} << 32) |
                                       information.ftLastWriteTime.dwLowDateTime)};
    return true;
}

HANDLE OpenForReading(const std::string& path, DWORD access)
{
    // Others may go on reading, writing and even renaming it, as on Linux: CheckUnchanged tells.
    return CreateFileW(text::PathFromUtf8(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
}
} // namespace

FileSource::FileSource(const std::string& path) : path_(path)
{
    const HANDLE file = OpenForReading(path, GENERIC_READ);
    if (file == INVALID_HANDLE_VALUE) {
        // A folder does not open as a file.
        const DWORD attributes = GetFileAttributesW(text::PathFromUtf8(path).c_str());
        const bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        throw text::RunFailureFromErrno(path, folder ? EISDIR : text::LastWindowsError());
    }
    file_ = reinterpret_cast<std::intptr_t>(file);
    regular_ = GetFileType(file) == FILE_TYPE_DISK && StampOf(file, opened_);
}

FileSource::~FileSource()
{
    CloseHandle(HandleOf(file_));
}

std::size_t FileSource::Read(char* buffer, std::size_t size)
{
    const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(size, remaining_));
    std::size_t count = 0;
    // The buffer is filled as far as the file goes: a short read only ends at the end of the file.
    while (count < wanted) {
        const DWORD asked = static_cast<DWORD>(std::min<std::size_t>(wanted - count, 1U << 30));
        DWORD got = 0;
        if (!ReadFile(HandleOf(file_), buffer + count, asked, &got, nullptr)) {
            const DWORD failure = GetLastError();
            // A pipe whose writer has gone has ended.
            if (failure == ERROR_BROKEN_PIPE || failure == ERROR_HANDLE_EOF)
                break;
            // The bytes before the failing ones are handed out; the next read meets the error again.
            if (count > 0)
                break;
            throw text::RunFailureFromErrno(path_, text::ErrnoOfWindowsError(failure));
        }
        if (got == 0)
            break;
        count += got;
    }
    remaining_ -= count;
    return count;
}

std::uint64_t FileSource::Size() const
{
    LARGE_INTEGER size = {};
    if (!GetFileSizeEx(HandleOf(file_), &size))
        throw text::RunFailureFromErrno(path_, text::LastWindowsError());
    return static_cast<std::uint64_t>(size.QuadPart);
}

void FileSource::Restrict(std::uint64_t begin, std::uint64_t end)
{
    LARGE_INTEGER place = {};
    place.QuadPart = static_cast<LONGLONG>(begin);
    if (!SetFilePointerEx(HandleOf(file_), place, nullptr, FILE_BEGIN))
        throw text::RunFailureFromErrno(path_, text::LastWindowsError());
    remaining_ = end - begin;
}

// The volume's serial number and the file's index say which file a path names now; Windows gives
// them only for an open file, so the path is opened without asking for its bytes.
void FileSource::CheckUnchanged() const
{
    if (!regular_)
        return;
    FileStamp now;
    bool same = StampOf(HandleOf(file_), now) && now == opened_;
    if (same) {
        const HANDLE named = OpenForReading(path_, 0);
        FileStamp there;
        same = named != INVALID_HANDLE_VALUE && StampOf(named, there) && there.volume == opened_.volume &&
               there.file == opened_.file;
        if (named != INVALID_HANDLE_VALUE)
            CloseHandle(named);
    }
    if (!same)
        throw text::RunFailure(path_, kChangedWhileRead);
}

} // namespace stambrix::gedcom
