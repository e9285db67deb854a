#pragma once

#include <stdexcept>
#include <string>

namespace stambrix {

/// A failure that ends a run: a file that cannot be read or written, or a sort that ICU cannot
/// set up. `what()` reads "<path>: <reason>", the reason in the operating system's words; for the
/// sort the cause stands where the path would and ICU's error name is the reason.
class IoError : public std::runtime_error
{
public:
    IoError(const std::string& path, const std::string& reason) : std::runtime_error(path + ": " + reason), path_(path)
    {
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

/// IoError for `path` with the reason of the operating-system error number `errorNumber`.
IoError IoErrorFromErrno(const std::string& path, int errorNumber);

} // namespace stambrix
