#include "scan/byte_source.h"

#include "names/io_error.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

namespace stambrix::scan {

FileSource::FileSource(const std::string& path) : path_(path)
{
    std::error_code error;
    // A folder opens for reading on some systems and only fails at the first read.
    if (std::filesystem::is_directory(path, error))
        throw IoErrorFromErrno(path, EISDIR);
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr)
        throw IoErrorFromErrno(path, errno);
    std::setvbuf(file_, nullptr, _IONBF, 0);
}

FileSource::~FileSource()
{
    std::fclose(file_);
}

std::size_t FileSource::Read(char* buffer, std::size_t size)
{
    errno = 0;
    const std::size_t count = std::fread(buffer, 1, std::min<std::uint64_t>(size, remaining_), file_);
    if (count == 0 && std::ferror(file_))
        throw IoErrorFromErrno(path_, errno != 0 ? errno : EIO);
    remaining_ -= count;
    return count;
}

std::uint64_t FileSource::Size() const
{
    std::error_code error;
    const auto size = std::filesystem::file_size(path_, error);
    if (error)
        throw IoError(path_, error.message());
    return size;
}

void FileSource::Restrict(std::uint64_t begin, std::uint64_t end)
{
    if (fseeko(file_, static_cast<off_t>(begin), SEEK_SET) != 0)
        throw IoErrorFromErrno(path_, errno);
    remaining_ = end - begin;
}

std::size_t MemorySource::Read(char* buffer, std::size_t size)
{
    const std::size_t count = std::min(size, bytes_.size());
    std::memcpy(buffer, bytes_.data(), count);
    bytes_.remove_prefix(count);
    return count;
}

} // namespace stambrix::scan
