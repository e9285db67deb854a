#pragma once

#include <string>

namespace stambrix::text {

/// The operating system's reason for the error number `errorNumber` (an errno value), in the
/// user's language where the system has it in that language, without a closing full stop.
std::string SystemReason(int errorNumber);

} // namespace stambrix::text
