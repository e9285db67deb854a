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
    if (text::EqualsNoCase(value, "IBMPC"))
        return DeclaredCharset::Ibmpc;
    if (text::EqualsNoCase(value, "MACINTOSH"))
        return DeclaredCharset::Macintosh;
    return DeclaredCharset::Other;
}
} // namespace

void HeaderCharset::Examine(std::string_view line, bool utf16)
{
    if (decided_)
        return;
    if (std::exchange(firstLine_, false) && (utf16 || line.starts_with("\xEF\xBB\xBF"))) {
        declared_ = DeclaredCharset::Utf8;
        decided_ = true;
        return;
    }
    if (IsLevelZero(line)) {
        decided_ = !text::EqualsNoCase(TagOf(line), "HEAD");
        return;
    }
    if (text::EqualsNoCase(TagOf(line), "CHAR")) {
        declared_ = CharsetNamed(text::Trim(TextAfterTagOf(line)));
        decided_ = true;
    }
}

charsets::TextEncoding EncodingOf(DeclaredCharset declared, bool convertedBeyondAscii, const Utf8Evidence& undeclared)
{
    const bool utf8 = declared == DeclaredCharset::Utf8 || convertedBeyondAscii ||
                      (declared == DeclaredCharset::None && undeclared.ReadsAsUtf8());
    return utf8 ? charsets::TextEncoding::Utf8 : charsets::TextEncoding::Windows1252;
}

} // namespace stambrix::gedcom
