#include "gedcom/utf16_source.h"

#include "gedcom/byte_source.h"
#include "gedcom/gedcom_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace stambrix::gedcom {
namespace {

using namespace std::string_literals;

struct Converted
{
    std::string bytes;
    bool utf16 = false;
};

// Every byte of `input` through a Utf16Source, asked for `size` bytes at a time.
Converted ReadAll(std::string_view input, std::size_t size)
{
    MemorySource source(input);
    Utf16Source utf16(source);
    Converted converted;
    std::vector<char> buffer(size);
    for (std::size_t count; (count = utf16.Read(buffer.data(), size)) != 0;)
        converted.bytes.append(buffer.data(), count);
    EXPECT_EQ(utf16.Read(buffer.data(), size), 0u) << "reading past the end goes on giving nothing";
    converted.utf16 = utf16.IsUtf16();
    return converted;
}

// UTF-16 bytes for `units`, with a byte-order mark or without.
std::string Utf16Bytes(std::u16string_view units, bool bigEndian, bool mark = true)
{
    std::string bytes = !mark ? "" : bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (const char16_t unit : units) {
        const auto high = static_cast<char>(unit >> 8);
        const auto low = static_cast<char>(unit & 0xFF);
        bytes.push_back(bigEndian ? high : low);
        bytes.push_back(bigEndian ? low : high);
    }
    return bytes;
}

struct Utf16Case
{
    const char* name;
    std::u16string units;
    std::string utf8;
};

constexpr char16_t kHigh = 0xD83D; // with kLow: U+1F600
constexpr char16_t kLow = 0xDE00;
const std::string kReplacement = "\xEF\xBF\xBD";

// The source is asked for 1, 2, 7 and 19 bytes at a time as well as the reader's usual block, so
// characters and surrogate pairs straddle the reads.
class Utf16SourceRead : public ::testing::TestWithParam<std::size_t>
{
};

TEST_P(Utf16SourceRead, ConvertsUtf16WithByteOrderMarkToUtf8)
{
    const std::vector<Utf16Case> cases = {
        {"ASCII, CR LF", u"0 HEAD\r\n1 CHAR UNICODE\r\n", "0 HEAD\r\n1 CHAR UNICODE\r\n"},
        {"accented letter", u"1 NAME Ren\u00E9 /Dub\u00E9/", "1 NAME Ren\xC3\xA9 /Dub\xC3\xA9/"},
        {"surrogate pair", u"1 NOTE \U0001F600!", "1 NOTE \xF0\x9F\x98\x80!"},
        {"UTF-8 length limits", u"\u007F\u0080\u07FF\u0800\uFFFF\U00010000\U0010FFFF",
         "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x90\x80\x80\xF4\x8F\xBF\xBF"},
        {"characters whose bytes look like line ends or 26", u"\u010A\u0D0A\u1A00\u0A0D.",
         "\xC4\x8A\xE0\xB4\x8A\xE1\xA8\x80\xE0\xA8\x8D."},
        {"high surrogate before a letter", {u'a', kHigh, u'b'}, "a" + kReplacement + "b"},
        {"low surrogate alone", {u'a', kLow, u'b'}, "a" + kReplacement + "b"},
        {"pair in reverse order", {kLow, kHigh, u'b'}, kReplacement + kReplacement + "b"},
        {"high surrogate before a line end", {u'a', kHigh, u'\r', u'\n'}, "a" + kReplacement + "\r\n"},
        {"two high surrogates, then a low", {kHigh, kHigh, kLow}, kReplacement + "\xF0\x9F\x98\x80"},
        {"high surrogate at the end", {u'a', kHigh}, "a" + kReplacement},
        {"mark only", u"", ""},
    };
    for (const bool bigEndian : {false, true}) {
        for (const Utf16Case& c : cases) {
            for (std::size_t shift = 0; shift < 4; ++shift) {
                SCOPED_TRACE(std::string(c.name) + (bigEndian ? ", big endian, " : ", little endian, ") +
                             std::to_string(shift) + " characters put in front");
                const Converted converted =
                    ReadAll(Utf16Bytes(std::u16string(shift, u'x') + c.units, bigEndian), GetParam());
                EXPECT_EQ(converted.bytes, std::string(shift, 'x') + c.utf8);
                EXPECT_TRUE(converted.utf16);
            }
        }
    }
}

// Without a mark, UTF-16 shows in the zero bytes of its first two characters.
TEST_P(Utf16SourceRead, ConvertsUtf16WithoutByteOrderMarkToUtf8)
{
    for (const bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian ? "big endian" : "little endian");
        const Converted converted = ReadAll(Utf16Bytes(u"0 HEAD\n1 NAME Ren\u00E9\n", bigEndian, false), GetParam());
        EXPECT_EQ(converted.bytes, "0 HEAD\n1 NAME Ren\xC3\xA9\n");
        EXPECT_TRUE(converted.utf16);
    }
}

TEST_P(Utf16SourceRead, EndsUtf16WithAnOddByteInReplacementCharacter)
{
    EXPECT_EQ(ReadAll("\xFF\xFE"
                      "a\0b"s,
                      GetParam())
                  .bytes,
              "a" + kReplacement);
    EXPECT_EQ(ReadAll("\xFE\xFF\0a\0"s, GetParam()).bytes, "a" + kReplacement);
}

struct PassCase
{
    const char* name;
    std::string bytes;
};

// Input that is not UTF-16 comes through byte for byte.
TEST_P(Utf16SourceRead, PassesOtherInputUnchanged)
{
    const std::vector<PassCase> cases = {
        {"UTF-8 mark", "\xEF\xBB\xBF"
                       "0 HEAD\r\n"},
        {"windows-1252", "0 HEAD\r\n1 NAME Ren\xE9\r\n"},
        {"one NUL byte", "0\0 HEAD\n"s},
        {"one byte of a UTF-16 mark", "\xFF"},
        {"three bytes", "0 H"},
        {"empty input", ""},
    };
    for (const PassCase& c : cases) {
        SCOPED_TRACE(c.name);
        const Converted converted = ReadAll(c.bytes, GetParam());
        EXPECT_EQ(converted.bytes, c.bytes);
        EXPECT_FALSE(converted.utf16);
    }
}

INSTANTIATE_TEST_SUITE_P(ReadSizes, Utf16SourceRead, ::testing::Values(1, 2, 7, 19, kReadBufferSize),
                         [](const ::testing::TestParamInfo<std::size_t>& param) {
                             return param.param == kReadBufferSize ? "ReaderBlock"
                                                                   : "Size" + std::to_string(param.param);
                         });

} // namespace
} // namespace stambrix::gedcom
