#pragma once

#include <stdexcept>
#include <string>

namespace stambrix::text {

/// A failure that ends a run: a file that cannot be read or written, a sort that ICU cannot set up,
/// an index that does not fit in memory. `what()` reads "<path>: <reason>", the reason in the
/// operating system's words; for the sort the cause stands where the path would and ICU's error
/// name is the reason.
class RunFailure : public std::runtime_error
{
public:
    RunFailure(const std::string& path, const std::string& reason, int errorNumber = 0)
        : std::runtime_error(path + ": " + reason), path_(path), reason_(reason), errorNumber_(errorNumber)
    {
    }
    const std::string& path() const { return path_; }
    const std::string& reason() const { return reason_; }
    /// The operating system's error number behind the reason; 0 where there is none.
    int errorNumber() const { return errorNumber_; }

private:
    std::string path_;
    std::string reason_;
    int errorNumber_;
};

/// RunFailure for `path` with the reason of the operating-system error number `errorNumber`.
RunFailure RunFailureFromErrno(const std::string& path, int errorNumber);

} // namespace stambrix::text
