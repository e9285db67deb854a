#include "scan/header_charset.h"

#include "names/ascii.h"
#include "scan/gedcom_line.h"

#include <utility>

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
    if (ended_)
        return;
    if (std::exchange(firstLine_, false) && line.starts_with("\xEF\xBB\xBF"))
        line.remove_prefix(3);
    if (IsLevelZero(line)) {
        ended_ = !names::EqualsNoCase(TagOf(line), "HEAD");
        return;
    }
    // The first declaration counts: the lines after it are read by it already.
    if (declared_ == DeclaredCharset::None && names::EqualsNoCase(TagOf(line), "CHAR"))
        declared_ = CharsetNamed(names::Trim(TextAfterTagOf(line)));
}

} // namespace stambrix::scan
