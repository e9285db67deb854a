#include "charsets/utf8_text.h"

#include <gtest/gtest.h>

namespace stambrix::charsets {
namespace {

std::string Utf8Of(std::string_view text, TextEncoding encoding)
{
    std::string to = "<";
    AppendAsUtf8(text, encoding, to);
    return to;
}

TEST(AppendAsUtf8, Windows1252BecomesItsCharacters)
{
    EXPECT_EQ(Utf8Of("J\xF6rg \x80 \x8A", TextEncoding::Windows1252), "<J\xC3\xB6rg \xE2\x82\xAC \xC5\xA0");
}

TEST(AppendAsUtf8, IllFormedUtf8BytesBecomeReplacementCharacters)
{
    EXPECT_EQ(Utf8Of("\xC5\x81\xC3\xB3"
                     "d\xC5\xBA",
                     TextEncoding::Utf8),
              "<\xC5\x81\xC3\xB3"
              "d\xC5\xBA");
    // A stray continuation byte, a cut-off sequence at the end, an overlong form.
    EXPECT_EQ(Utf8Of("a\x80"
                     "b\xC3",
                     TextEncoding::Utf8),
              "<a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD");
    EXPECT_EQ(Utf8Of("\xE0\x80\x80", TextEncoding::Utf8), "<\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD");
}

} // namespace
} // namespace stambrix::charsets
