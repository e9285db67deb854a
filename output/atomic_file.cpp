#include "output/atomic_file.h"

#include "names/io_error.h"

#include <atomic>
#include <cerrno>
#include <chrono>

#ifdef __unix__
#include <unistd.h>
#endif

namespace stambrix::output {

namespace {
constexpr std::size_t kWriteBlockSize = 1 << 20;

bool IsReadOnly(const std::filesystem::path& file)
{
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    if (error || !std::filesystem::is_regular_file(status))
        return false;
    using std::filesystem::perms;
    return (status.permissions() & (perms::owner_write | perms::group_write | perms::others_write)) == perms::none;
}

// A name no other writer uses at the same moment, in this process or another.
std::filesystem::path TemporaryPathFor(const std::filesystem::path& target, unsigned attempt)
{
    static std::atomic<unsigned> counter{0};
    const auto now = std::chrono::steady_clock::now().time_since_epoch().count();
    std::string name(1, '.');
    name.append(target.filename().string());
#ifdef __unix__
    name.append(1, '.').append(std::to_string(getpid()));
#endif
    for (const auto part : {static_cast<unsigned long long>(now % 1000000007),
                            static_cast<unsigned long long>(counter++), static_cast<unsigned long long>(attempt)})
        name.append(1, '.').append(std::to_string(part));
    name.append(".tmp");
    return target.parent_path() / name;
}
} // namespace

AtomicFile::AtomicFile(const std::filesystem::path& target) : target_(target)
{
    if (IsReadOnly(target_))
        throw IoErrorFromErrno(target_.string(), EACCES);
    // Reserved first: once the temporary file exists, nothing in here may throw past it.
    buffer_.reserve(kWriteBlockSize);
    for (unsigned attempt = 0; file_ == nullptr; ++attempt) {
        temporary_ = TemporaryPathFor(target_, attempt);
        // "x": never open a file that is already there.
        file_ = std::fopen(temporary_.c_str(), "wbx");
        if (file_ == nullptr && (errno != EEXIST || attempt == 100))
            throw IoErrorFromErrno(target_.string(), errno);
    }
}

AtomicFile::~AtomicFile()
{
    if (file_ != nullptr)
        std::fclose(file_);
    if (!published_) {
        std::error_code ignored;
        std::filesystem::remove(temporary_, ignored);
    }
}

void AtomicFile::Write(std::string_view bytes)
{
    if (buffer_.size() + bytes.size() > kWriteBlockSize)
        Flush();
    buffer_.append(bytes);
}

void AtomicFile::Flush()
{
    errno = 0;
    if (!buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
        throw IoErrorFromErrno(target_.string(), errno != 0 ? errno : EIO);
    buffer_.clear();
}

void AtomicFile::Complete()
{
    Flush();
    if (std::fflush(file_) != 0)
        throw IoErrorFromErrno(target_.string(), errno);
#ifdef __unix__
    if (fsync(fileno(file_)) != 0)
        throw IoErrorFromErrno(target_.string(), errno);
#endif
    const int closed = std::fclose(file_);
    file_ = nullptr;
    if (closed != 0)
        throw IoErrorFromErrno(target_.string(), errno);
}

void AtomicFile::Publish()
{
    std::error_code error;
    std::filesystem::rename(temporary_, target_, error);
    if (error)
        throw IoError(target_.string(), error.message());
    published_ = true;
}

void AtomicFile::Commit()
{
    Complete();
    Publish();
}

} // namespace stambrix::output
