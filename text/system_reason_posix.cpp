#include "text/system_reason.h"

#include <system_error>

namespace stambrix::text {

// The C library has the reasons in the language of the user's locale (LC_MESSAGES).
std::string SystemReason(int errorNumber)
{
    return std::generic_category().message(errorNumber);
}

} // namespace stambrix::text
