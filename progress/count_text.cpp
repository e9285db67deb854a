#include "progress/count_text.h"

#include <charconv>
#include <iterator>

namespace stambrix::progress {

void AssignCountText(std::string& text, std::string_view prefix, std::uint64_t count)
{
    char digits[24];
    const char* const end = std::to_chars(std::begin(digits), std::end(digits), count).ptr;
    text.assign(prefix).append(digits, static_cast<std::size_t>(end - digits));
}

} // namespace stambrix::progress
