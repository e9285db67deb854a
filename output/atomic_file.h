#pragma once

#include "output/kept_file.h"
#include "output/system_files.h"

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace stambrix::output {

/// An output file written whole or not at all: the bytes go to a new temporary file beside the
/// target, «.stambrix-<name>.<pid>.<n>.<n>.<n>.tmp», which replaces the target only in Publish, or in
/// PutInPlace and Keep. Until then, and whenever anything fails, the target stays exactly as it was;
/// a file that is not published is removed. While it exists the temporary file is in the registry of
/// temporary files, so an interrupted program removes it too (RemoveTemporaryFiles).
///
/// A file that replaces a regular file takes over its permission bits, and its owner and group where
/// the process may give them; they hold from the temporary file's creation on. A new file, and one
/// that replaces anything else (a symbolic link is not followed), gets the default permissions
/// (0666 less the umask).
class AtomicFile
{
public:
    /// Starts writing `target`. Throws text::RunFailure when the target could not be replaced
    /// (CheckReplaceable), when its folder takes no new file or when the new file cannot be given
    /// the target's permission bits.
    explicit AtomicFile(const std::filesystem::path& target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    /// Appends `bytes`; they reach the disk in large blocks. Throws text::RunFailure.
    void Write(std::string_view bytes);

    /// Writes out what is buffered and has the system start putting it on the disk; the target is
    /// not touched yet. Throws text::RunFailure.
    void Complete();

    /// Waits until the completed file is on the disk, then closes it; nothing after the first call.
    /// Throws text::RunFailure.
    void MakeDurable();

    /// Makes the completed file durable and puts it in the target's place. Throws text::RunFailure.
    void Publish();

    /// Makes the completed file durable and puts it in the target's place, keeping the file the
    /// target held under a temporary name until Keep or Undo. Throws text::RunFailure; the target then
    /// stays as it was.
    void PutInPlace();
    /// After PutInPlace: removes the file the target held before.
    void Keep();
    /// After PutInPlace: puts back the file the target held before, or removes the target when it
    /// held none; 0, or the error number when it could not. A file destroyed after PutInPlace without
    /// Keep is undone.
    int Undo() noexcept;

    /// Where the completed file waits for PutInPlace; after an exchange of names it holds the file
    /// the target held before.
    const std::filesystem::path& TemporaryPath() const { return temporary_; }

private:
    enum class Stage
    {
        Writing,
        Placed,
        Done
    };

    void Flush();

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::size_t slot_ = 0;
    FileHandle file_ = kNoFile;
    Stage stage_ = Stage::Writing;
    KeptFile kept_; // the target's earlier file while the new one is placed
    std::string buffer_;
};

} // namespace stambrix::output
