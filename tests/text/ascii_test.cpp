#include "text/ascii.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace stambrix::text {
namespace {

using namespace std::string_view_literals;

constexpr std::size_t kNone = std::string_view::npos;

struct FindCase
{
    std::string_view text;
    std::string_view pattern;
    std::size_t from;
    std::size_t expected;
};

std::ostream& operator<<(std::ostream& out, const FindCase& c)
{
    return out << testing::PrintToString(std::string(c.text)) << " / " << testing::PrintToString(std::string(c.pattern))
               << " from " << c.from;
}

class FindNoCaseTest : public testing::TestWithParam<FindCase>
{
};

TEST_P(FindNoCaseTest, FindsFirstOccurrenceAtOrAfterFrom)
{
    const FindCase& c = GetParam();
    EXPECT_EQ(text::FindNoCase(c.text, c.pattern, c.from), c.expected);
}

INSTANTIATE_TEST_SUITE_P(PatternBeginsWithLetter, FindNoCaseTest,
                         testing::Values(FindCase{"1 NAME Jan", "name", 0, 2}, FindCase{"xNaMe", "NAME", 0, 1},
                                         FindCase{"nam nAme", "NAME", 0, 4}, FindCase{"1 BIRT", "birt", 0, 2},
                                         FindCase{"1 BIR", "birt", 0, kNone}, FindCase{"", "a", 0, kNone},
                                         FindCase{"ab", "abc", 0, kNone}));

INSTANTIATE_TEST_SUITE_P(PatternBeginsWithNonLetter, FindNoCaseTest,
                         testing::Values(FindCase{"0 @I1@ INDI", "@ indi", 0, 5},
                                         FindCase{"@ x @ INDI", "@ INDI", 0, 4}, FindCase{"ab@", "@", 0, 2},
                                         FindCase{"ab@ IND", "@ INDI", 0, kNone},
                                         FindCase{"2 DATE 1850", " date ", 0, 1}, FindCase{"a\xC9t", "\xC9T", 0, 1},
                                         FindCase{"a\xE9t", "\xC9t", 0, kNone}, FindCase{"a\0b"sv, "\0B"sv, 0, 1}));

INSTANTIATE_TEST_SUITE_P(FromPosition, FindNoCaseTest,
                         testing::Values(FindCase{"@I1@ @F1@", "@", 1, 3}, FindCase{"@I1@ @F1@", "@", 4, 5},
                                         FindCase{"Name name", "NAME", 1, 5}, FindCase{"Name name", "NAME", 6, kNone},
                                         FindCase{"abc", "c", 2, 2}, FindCase{"abc", "c", 3, kNone},
                                         FindCase{"abc", "@", 4, kNone}, FindCase{"abc", "", 3, 3},
                                         FindCase{"abc", "", 4, kNone}));

TEST(FindNoCase, FromFarPastTheEndFindsNothing)
{
    // A position taken from an earlier search that found nothing must not wrap around.
    EXPECT_EQ(text::FindNoCase("abc", "x", kNone), kNone);
    EXPECT_EQ(text::FindNoCase("abc", "@", kNone), kNone);
    EXPECT_EQ(text::FindNoCase("abc", "bc", kNone - 1), kNone);
}

TEST(Trim, RemovesCodesUpTo32AtBothEndsOnly)
{
    EXPECT_EQ(text::Trim("\0\x01\t van der \r\n\x1A"sv), "van der");
    EXPECT_EQ(text::Trim(" \t \x1F"), "");
    EXPECT_EQ(text::Trim("\xA0x\x7F"), "\xA0x\x7F");
}

TEST(ToLowerAscii, FoldsOnlyAToZ)
{
    EXPECT_EQ(text::ToLowerAscii("Van DER \xC9\xE9 @[Z]"), "van der \xC9\xE9 @[z]");
}

} // namespace
} // namespace stambrix::text
