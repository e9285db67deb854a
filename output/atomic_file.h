#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace stambrix::output {

/// An output file written whole or not at all: the bytes go to a new temporary file beside the
/// target, which replaces the target only in Commit. Until then, and whenever anything fails,
/// the target stays exactly as it was; a file that is not committed is removed.
class AtomicFile
{
public:
    /// Starts writing `target`. Throws IoError when the target exists and is read-only (no write
    /// permission bit set) or when its folder takes no new file.
    explicit AtomicFile(const std::filesystem::path& target);
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    /// Appends `bytes`; they reach the disk in large blocks. Throws IoError.
    void Write(std::string_view bytes);

    /// Writes out what is buffered and makes it durable in the temporary file; the target is not
    /// touched yet. Throws IoError.
    void Complete();

    /// Puts the completed file in the target's place. Throws IoError.
    void Publish();

    /// Complete, then Publish.
    void Commit();

private:
    void Flush();

    std::filesystem::path target_;
    std::filesystem::path temporary_;
    std::FILE* file_ = nullptr;
    bool published_ = false;
    std::string buffer_;
};

} // namespace stambrix::output
