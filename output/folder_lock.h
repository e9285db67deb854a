#pragma once

#include "progress/cancellation.h"

#include <chrono>
#include <filesystem>
#include <functional>

namespace stambrix::output {

/// The file in an index folder whose lock gives one run at a time its turn where the folder itself
/// cannot be locked (NFS).
inline constexpr const char* kFolderLockName = ".stambrix.lock";

/// How often a run waiting for another run's turn tries to take it.
inline constexpr std::chrono::milliseconds kFolderLockRetry{50};

/// One run's turn at writing into a folder: an exclusive lock (flock) on the folder, held from
/// construction to destruction. The system drops the lock when the process ends, however it ends,
/// so a killed run never holds up the next one; it holds across processes in other PID namespaces.
/// Where the folder cannot be locked, the lock is taken on the file kFolderLockName in it, which
/// NFS passes on to other machines.
class FolderLock
{
public:
    /// Takes the lock of `folder`; while another run holds it, calls `waiting` once and waits for
    /// it, trying again every kFolderLockRetry, until `cancellation` is cancelled, which throws
    /// progress::RunCancelled. Throws text::RunFailure (the path and the reason) when the lock cannot be
    /// taken. A folder that can neither be locked nor take a lock file takes no index files either: the
    /// run then goes on without the lock, and its first file tells why.
    FolderLock(const std::filesystem::path& folder, const std::function<void()>& waiting,
               const progress::Cancellation& cancellation = progress::kNeverCancelled);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_ = -1;
};

} // namespace stambrix::output
