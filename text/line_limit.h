#pragma once

#include <cstddef>

namespace stambrix::text {

/// The longest line kept of a file that is read line by line (a GEDCOM file, the prefix file): the
/// rest of a longer line is read and dropped, and it is still one line. So no input, not even one
/// without end, makes a line take more memory than this.
inline constexpr std::size_t kMaxLineLength = 16 << 20;

} // namespace stambrix::text
