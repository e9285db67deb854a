#pragma once

#include <filesystem>
#include <functional>

namespace stambrix::output {

/// The file in an index folder whose lock gives one run at a time its turn where the folder itself
/// cannot be locked (NFS).
inline constexpr const char* kFolderLockName = ".stambrix.lock";

/// One run's turn at writing into a folder: an exclusive lock (flock) on the folder, held from
/// construction to destruction. The system drops the lock when the process ends, however it ends,
/// so a killed run never holds up the next one; it holds across processes in other PID namespaces.
/// Where the folder cannot be locked, the lock is taken on the file kFolderLockName in it, which
/// NFS passes on to other machines.
class FolderLock
{
public:
    /// Takes the lock of `folder`; while another run holds it, calls `waiting` once and waits for
    /// it. Throws text::RunFailure (the path and the reason) when the lock cannot be taken. A folder that
    /// can neither be locked nor take a lock file takes no index files either: the run then goes on
    /// without the lock, and its first file tells why.
    FolderLock(const std::filesystem::path& folder, const std::function<void()>& waiting);
    ~FolderLock();
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int fd_ = -1;
};

} // namespace stambrix::output
