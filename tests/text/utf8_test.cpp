#include "text/utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace stambrix::text {
namespace {

TEST(IsWellFormedUtf8, RefusesWhatNoUtf8EncoderWrites)
{
    EXPECT_TRUE(IsWellFormedUtf8("Gro\xC3\x9F \xE2\x82\xAC \xF0\x9F\x8C\xB3"));
    EXPECT_FALSE(IsWellFormedUtf8("\x80"));
    EXPECT_FALSE(IsWellFormedUtf8("\xC3"));
    EXPECT_FALSE(IsWellFormedUtf8("\xC0\xAF"));
    EXPECT_FALSE(IsWellFormedUtf8("\xED\xA0\x80"));
    EXPECT_FALSE(IsWellFormedUtf8("\xF4\x90\x80\x80"));
}

TEST(Utf8, SequenceLengthAndAppendAgree)
{
    for (const std::uint32_t codePoint : {0x41u, 0xE9u, 0x20ACu, 0x1F333u}) {
        std::string encoded;
        AppendUtf8(encoded, codePoint);
        EXPECT_EQ(SequenceLength(static_cast<unsigned char>(encoded.front())), encoded.size()) << codePoint;
        EXPECT_TRUE(IsWellFormedUtf8(encoded));
    }
    // A continuation byte and the bytes UTF-8 never uses begin no sequence.
    EXPECT_EQ(SequenceLength(0x80), 1u);
    EXPECT_EQ(SequenceLength(0xC1), 1u);
    EXPECT_EQ(SequenceLength(0xF5), 1u);
}

} // namespace
} // namespace stambrix::text
