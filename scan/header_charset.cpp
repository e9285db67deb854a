#include "scan/header_charset.h"

#include "names/ascii.h"
#include "scan/gedcom_line.h"

namespace stambrix::scan {

void HeaderCharset::Examine(std::string_view line)
{
    if (levelZeroLines_ > 1)
        return;
    // The first line may carry a UTF-8 byte-order mark before its level.
    if (IsLevelZero(line) || (levelZeroLines_ == 0 && names::ContainsNoCase(line, "HEAD"))) {
        ++levelZeroLines_;
        return;
    }
    if (names::EqualsNoCase(TagOf(line), "CHAR")) {
        const std::string_view value = names::Trim(TextAfterTagOf(line));
        utf8_ = names::EqualsNoCase(value, "UTF-8") || names::EqualsNoCase(value, "UTF8");
    }
}

} // namespace stambrix::scan
