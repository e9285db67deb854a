#include "gedcom/header_charset.h"

#include "gedcom/gedcom_line.h"
#include "text/ascii.h"

#include <utility>

namespace stambrix::gedcom {

namespace {
DeclaredCharset CharsetNamed(std::string_view value)
{
    if (text::EqualsNoCase(value, "UTF-8") || text::EqualsNoCase(value, "UTF8"))
        return DeclaredCharset::Utf8;
    if (text::EqualsNoCase(value, "ANSEL"))
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
        ended_ = !text::EqualsNoCase(TagOf(line), "HEAD");
        return;
    }
    // The first declaration counts: the lines after it are read by it already.
    if (declared_ == DeclaredCharset::None && text::EqualsNoCase(TagOf(line), "CHAR"))
        declared_ = CharsetNamed(text::Trim(TextAfterTagOf(line)));
}

} // namespace stambrix::gedcom
