#include "charsets/search_folding.h"

#include "charsets/base_letter.h"

#include <gtest/gtest.h>

#include <unicode/utf8.h>

#include <array>
#include <cstdint>
#include <string>

namespace stambrix::charsets {
namespace {

std::string WordsOf(std::string_view text)
{
    std::string words = "before ";
    AppendSearchWords(text, words);
    return words.substr(std::string_view("before ").size());
}

struct FoldingCase
{
    const char* label;
    const char* text;
    const char* words;
};

class SearchWordsOf : public testing::TestWithParam<FoldingCase>
{
};

TEST_P(SearchWordsOf, FoldsAsTheIndexFilesTheLetter)
{
    EXPECT_EQ(WordsOf(GetParam().text), GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(
    Letters, SearchWordsOf,
    testing::Values(FoldingCase{"Diaeresis", "\xC3\x96zt\xC3\xBCrk", "ozturk"},
                    FoldingCase{"Acute", "\xC3\x89mile", "emile"},
                    FoldingCase{"Cedilla",
                                "\xC3\x87"
                                "elik",
                                "celik"},
                    FoldingCase{"CombiningMark", "Rene\xCC\x81", "rene"},
                    FoldingCase{"SlashedO", "J\xC3\xB8rn \xC3\x98ster", "jorn oster"},
                    FoldingCase{"Ash", "\xC3\x86r\xC3\xB8", "aro"}, FoldingCase{"Ethel", "\xC5\x92uvre", "ouvre"},
                    FoldingCase{"SharpS",
                                "Stra\xC3\x9F"
                                "e \xE1\xBA\x9E",
                                "strase s"},
                    FoldingCase{"StrokedL", "\xC5\x81ukasz", "lukasz"},
                    FoldingCase{"StrokedD",
                                "\xC4\x90or\xC4\x91"
                                "e",
                                "dorde"},
                    FoldingCase{"Eth", "\xC3\x90\xC3\xB3ra", "dora"}, FoldingCase{"Thorn", "\xC3\xBE\xC3\xB3r", "tor"},
                    FoldingCase{"DotlessI", "Y\xC4\xB1lmaz", "yilmaz"},
                    FoldingCase{"DottedCapitalI", "\xC4\xB0nce", "ince"},
                    FoldingCase{"DutchIj", "\xC4\xB2sselmuiden", "ijsselmuiden"},
                    FoldingCase{"Cyrillic", "\xD0\x81\xD0\xBB\xD0\xBA\xD0\xB8\xD0\xBD",
                                "\xD0\xB5\xD0\xBB\xD0\xBA\xD0\xB8\xD0\xBD"}),
    [](const testing::TestParamInfo<FoldingCase>& testCase) { return std::string(testCase.param.label); });

INSTANTIATE_TEST_SUITE_P(Words, SearchWordsOf,
                         testing::Values(FoldingCase{"NameLine", "Berg, Jan van der", "berg jan van der"},
                                         FoldingCase{"Apostrophes",
                                                     "'t Hoen, d\xE2\x80\x99"
                                                     "Ancona",
                                                     "t hoen d ancona"},
                                         FoldingCase{"DigitsStay", "Jan 2e", "jan 2e"},
                                         FoldingCase{"OnlyNonLetters", " ?, -- . ", ""},
                                         FoldingCase{"IllFormedByteIsKept", "Ja\xFFn", "ja\xEF\xBF\xBDn"}),
                         [](const testing::TestParamInfo<FoldingCase>& testCase) {
                             return std::string(testCase.param.label);
                         });

// The search finds a name under the letter the index files it under: wherever BaseLetterOf gives
// a letter, the folding begins with it.
TEST(SearchFoldingTable, AgreesWithTheBaseLetterOfTheIndex)
{
    for (const SearchFolding& folding : SearchFoldingTable()) {
        std::string itself;
        std::array<std::uint8_t, U8_MAX_LENGTH> bytes{};
        std::int32_t length = 0;
        U8_APPEND_UNSAFE(bytes.data(), length, folding.character);
        itself.assign(reinterpret_cast<const char*>(bytes.data()), static_cast<std::size_t>(length));
        const char letter = BaseLetterOf(itself, TextEncoding::Utf8);
        if (letter != '\0') {
            EXPECT_EQ(folding.folded.substr(0, 1), std::string(1, letter))
                << "U+" << std::hex << static_cast<std::uint32_t>(folding.character);
        }
    }
}

} // namespace
} // namespace stambrix::charsets
