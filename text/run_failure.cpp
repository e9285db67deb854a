#include "text/run_failure.h"

#include <system_error>

namespace stambrix::text {

RunFailure RunFailureFromErrno(const std::string& path, int errorNumber)
{
    return RunFailure(path, std::generic_category().message(errorNumber), errorNumber);
}

} // namespace stambrix::text
