#pragma once

#include "output/system_files.h"
#include "progress/cancellation.h"

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>

namespace stambrix::output {

/// The file in an index folder whose lock gives one run at a time its turn.
inline constexpr const char* kFolderLockName = ".stambrix.lock";

/// How often a run waiting for another run's turn tries to take it.
inline constexpr std::chrono::milliseconds kFolderLockRetry{50};

/// One run's turn at writing into a folder: an exclusive lock (flock; on Windows LockFileEx) on the
/// file kFolderLockName in it, held from construction to destruction. Every run takes this one lock, also one that may
/// write into the folder but not read it (mode -wx), which could not lock the folder itself. The file is open for
/// writing where it can be, as NFS wants for passing the lock on to other machines; it is made writable for everyone
/// who may write into the folder, since any of them may run next. The system drops the lock when the process ends,
/// however it ends, so a killed run never holds up the next one; it holds across processes in other PID namespaces. The
/// run whose turn ends removes the file, also when a signal ends it (the file is in the registry of temporary files
/// while the lock is held); one that a killed run left serves the next run, which removes it. On Windows the file
/// stays, hidden: Windows removes a file only once every run has closed it, and would refuse a run
/// that opens it meanwhile.
class FolderLock
{
public:
    /// Takes the lock of `folder`; while another run holds it, calls `waiting` once and waits for
    /// it, trying again every kFolderLockRetry, until `cancellation` is cancelled, which throws
    /// progress::RunCancelled. Throws text::RunFailure (the path and the reason) when the lock cannot be
    /// taken. A folder that takes no lock file (read-only for this user or on a read-only disk) takes no
    /// index files either: the run then goes on without the lock, and its first file tells why.
    FolderLock(const std::filesystem::path& folder, const std::function<void()>& waiting,
               const progress::Cancellation& cancellation = progress::kNeverCancelled);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    std::filesystem::path path_;
    FileHandle file_ = kNoFile;
    std::optional<std::size_t> slot_;
};

} // namespace stambrix::output
