#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace stambrix::gedcom {

/// Why a file that changed while it was read gives no index.
inline constexpr const char* kChangedWhileRead = "het bestand is veranderd terwijl het gelezen werd";

/// What tells that a file changed: which file it is on which volume, its size and the time it was last
/// written, in the system's own units.
struct FileStamp
{
    std::uint64_t volume = 0;
    std::uint64_t file = 0;
    std::uint64_t size = 0;
    std::int64_t written = 0;
    bool operator==(const FileStamp&) const = default;
};

/// Where the reader gets its bytes from.
class ByteSource
{
public:
    virtual ~ByteSource() = default;
    /// Up to `size` bytes into `buffer`; 0 only at the end of the input. Throws text::RunFailure.
    virtual std::size_t Read(char* buffer, std::size_t size) = 0;
};

/// The bytes of a file on disk, read straight into the caller's buffer. Opening a missing file, a
/// folder or an unreadable file throws text::RunFailure with the path and the reason; so does a read error
/// later on.
class FileSource final : public ByteSource
{
public:
    explicit FileSource(const std::string& path);
    ~FileSource() override;
    FileSource(const FileSource&) = delete;
    FileSource& operator=(const FileSource&) = delete;

    std::size_t Read(char* buffer, std::size_t size) override;

    /// The size of the open file in bytes. Throws text::RunFailure.
    std::uint64_t Size() const;

    /// From now on the reads run from byte `begin` up to byte `end`. Throws text::RunFailure.
    void Restrict(std::uint64_t begin, std::uint64_t end);

    /// Throws text::RunFailure with the reason kChangedWhileRead when the file is not what was opened: its
    /// size or modification time differ, or its path names another file now (or none). Input that
    /// is not a regular file, a pipe, passes.
    void CheckUnchanged() const;

private:
    std::string path_;
    std::intptr_t file_ = -1; // the file descriptor, or on Windows the file's HANDLE
    FileStamp opened_;
    bool regular_ = false; // a regular file, not a pipe or a device
    std::uint64_t remaining_ = UINT64_MAX;
};

/// Bytes held in memory, for tests and for in-memory input.
class MemorySource final : public ByteSource
{
public:
    explicit MemorySource(std::string_view bytes) : bytes_(bytes) {}
    std::size_t Read(char* buffer, std::size_t size) override;

private:
    std::string_view bytes_;
};

} // namespace stambrix::gedcom
