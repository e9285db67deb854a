#include "charsets/base_letter.h"

#include <gtest/gtest.h>

namespace stambrix::charsets {
namespace {

struct LetterCase
{
    const char* heading;
    char letter;
};

// The same initials in both encodings; windows-1252 has no Ł, Đ, ı or Cyrillic.
TEST(BaseLetterOf, LetterOfTheFirstCharacterOrNone)
{
    const LetterCase windows1252[] = {
        {"berg", 'b'},
        {"Zee", 'z'},
        {"\xC9mile", 'e'},
        {"\xE9mile", 'e'},
        {"\xD6zt\xFCrk", 'o'},
        {"\xC7"
         "elik",
         'c'},
        {"\x8Aimek", 's'},
        {"\x9Fvonne", 'y'},
        {"\xC6r\xF8", 'a'},
        {"\xD8st", 'o'},
        {"\x8Cuvre", 'o'},
        {"\xDF", 's'},
        {"\xD0or", 'd'},
        {"\xDEor", 't'},
        {"1e Berg", '\0'},
        {"'t Hoen", '\0'},
        {" van", '\0'},
        {"\xD7", '\0'},
        {"\x81", '\0'},
        {"", '\0'},
    };
    for (const auto& c : windows1252)
        EXPECT_EQ(BaseLetterOf(c.heading, TextEncoding::Windows1252), c.letter) << c.heading;
    const LetterCase utf8[] = {
        {"berg", 'b'},
        {"\xC3\x89mile", 'e'},
        {"\xC3\x96zt\xC3\xBCrk", 'o'},
        {"\xC3\x87"
         "elik",
         'c'},
        {"\xC5\xA0imek", 's'},
        {"\xC5\xB8vonne", 'y'},
        {"\xC3\x86r\xC3\xB8", 'a'},
        {"\xC3\x98st", 'o'},
        {"\xC5\x92uvre", 'o'},
        {"\xC3\x9F", 's'},
        {"\xC5\x81\xC3\xB3"
         "d\xC5\xBA",
         'l'},
        {"\xC4\x90or\xC4\x91"
         "e",
         'd'},
        {"\xC3\x90or", 'd'},
        {"\xC3\x9Eor", 't'},
        {"\xC4\xB1\xC5\x9F\xC4\xB1k", 'i'},
        {"1e Berg", '\0'},
        {"\xD0\x91\xD0\xB0\xD1\x80", '\0'},
        {"\xC3", '\0'},
        {"", '\0'},
    };
    for (const auto& c : utf8)
        EXPECT_EQ(BaseLetterOf(c.heading, TextEncoding::Utf8), c.letter) << c.heading;
}

} // namespace
} // namespace stambrix::charsets
