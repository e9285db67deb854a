#include "output/folder_lock.h"

#include "text/run_failure.h"
#include "text/system_path.h"
#include "text/windows_error.h"

#include <thread>

#include <windows.h>

namespace stambrix::output {

namespace {
// The folder refuses a new file to this user, or to everyone.
bool TakesNoFiles(DWORD failure)
{
    return failure == ERROR_ACCESS_DENIED || failure == ERROR_WRITE_PROTECT;
}

// Opens the lock file `path`, made (hidden) when there is none; INVALID_HANDLE_VALUE when the
// folder takes no file. Throws text::RunFailure when a lock file is there but cannot be opened.
HANDLE OpenLockFile(const std::filesystem::path& path)
{
    constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_HIDDEN, nullptr);
    // A file this user may not write, left by another, locks as well when open for reading.
    if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED)
        file = CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        return file;
    const DWORD failure = GetLastError();
    if (TakesNoFiles(failure))
        return INVALID_HANDLE_VALUE;
    throw text::RunFailureFromErrno(text::Utf8Of(path), text::ErrnoOfWindowsError(failure));
}

// Tries to take the lock of `file` once; 0, ERROR_LOCK_VIOLATION while another holds it, or the
// Windows error.
DWORD TryLock(HANDLE file)
{
    OVERLAPPED start = {};
    return LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &start) ? 0 : GetLastError();
}
} // namespace

// The wait tries again and again rather than blocking in LockFileEx, so that a cancelled run ends it.
FolderLock::FolderLock(const std::filesystem::path& folder, const std::function<void()>& waiting,
                       const progress::Cancellation& cancellation)
    : path_(folder / kFolderLockName)
{
    const HANDLE file = OpenLockFile(path_);
    if (file == INVALID_HANDLE_VALUE)
        return;
    DWORD failure = TryLock(file);
    if (failure == ERROR_LOCK_VIOLATION) {
        waiting();
        while ((failure = TryLock(file)) == ERROR_LOCK_VIOLATION) {
            if (cancellation.IsCancelled()) {
                CloseHandle(file);
                throw progress::RunCancelled();
            }
            std::this_thread::sleep_for(kFolderLockRetry);
        }
    }
    if (failure != 0) {
        CloseHandle(file);
        throw text::RunFailureFromErrno(text::Utf8Of(path_), text::ErrnoOfWindowsError(failure));
    }
    file_ = reinterpret_cast<FileHandle>(file);
}

// Closing the file drops the lock.
FolderLock::~FolderLock()
{
    if (file_ != kNoFile)
        CloseHandle(reinterpret_cast<HANDLE>(file_));
}

} // namespace stambrix::output
