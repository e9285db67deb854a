#include "text/io_error.h"

#include <system_error>

namespace stambrix {

IoError IoErrorFromErrno(const std::string& path, int errorNumber)
{
    return IoError(path, std::generic_category().message(errorNumber), errorNumber);
}

} // namespace stambrix
