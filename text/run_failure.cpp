#include "text/run_failure.h"

#include "text/system_reason.h"

namespace stambrix::text {

RunFailure RunFailureFromErrno(const std::string& path, int errorNumber)
{
    return RunFailure(path, SystemReason(errorNumber), errorNumber);
}

} // namespace stambrix::text
