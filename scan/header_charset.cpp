#include "scan/header_charset.h"

#include "names/ascii.h"
#include "scan/gedcom_line.h"

namespace stambrix::scan {

namespace {
DeclaredCharset CharsetNamed(std::string_view value)
{
    if (names::EqualsNoCase(value, "UTF-8") || names::EqualsNoCase(value, "UTF8"))
        return DeclaredCharset::Utf8;
    if (names::EqualsNoCase(value, "ANSEL"))
        return DeclaredCharset::Ansel;
    return DeclaredCharset::Other;
}
} // namespace

void HeaderCharset::Examine(std::string_view line)
{
    if (Ended())
        return;
    // The first line may carry a UTF-8 byte-order mark before its level.
    if (IsLevelZero(line) || (levelZeroLines_ == 0 && names::ContainsNoCase(line, "HEAD"))) {
        ++levelZeroLines_;
        return;
    }
    // The first declaration counts: the lines after it are read by it already.
    if (declared_ == DeclaredCharset::None && names::EqualsNoCase(TagOf(line), "CHAR"))
        declared_ = CharsetNamed(names::Trim(TextAfterTagOf(line)));
}

} // namespace stambrix::scan
