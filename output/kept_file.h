#pragma once

#include <cstddef>
#include <filesystem>

namespace stambrix::output {

/// A file of an earlier run, set aside under a temporary name beside its place while a new set of
/// files goes in, so that it can be put back when the set fails. Its temporary name is in the
/// registry of temporary files as long as it holds the file.
class KeptFile
{
public:
    KeptFile() = default;
    ~KeptFile() = default;
    KeptFile(KeptFile&& other) noexcept;
    KeptFile& operator=(KeptFile&& other) noexcept;
    KeptFile(const KeptFile&) = delete;
    KeptFile& operator=(const KeptFile&) = delete;

    /// Moves the file at `place` to a temporary name. Throws text::RunFailure; `place` then stays as it was.
    static KeptFile MoveAside(const std::filesystem::path& place);
    /// A second name for the file at `place`, which stays where it is; nothing where the file system
    /// gives no second names.
    static KeptFile LinkTo(const std::filesystem::path& place);
    /// The file at the registered temporary name `temporary` (registry slot `slot`), which now holds
    /// the file of an earlier run.
    static KeptFile Adopt(std::filesystem::path temporary, std::size_t slot);

    /// A file is kept.
    bool Holds() const { return !temporary_.empty(); }
    /// Puts the kept file back at `place`, replacing what stands there; 0, or the error number when
    /// it could not. A file that could not be put back is let go: out of the registry of temporary
    /// files, it stays on disk also when the program is interrupted, for the next run to put back.
    int PutBack(const std::filesystem::path& place) noexcept;
    /// Removes the kept file.
    void Drop() noexcept;

private:
    void Release() noexcept;

    std::filesystem::path temporary_;
    std::size_t slot_ = 0;
};

} // namespace stambrix::output
