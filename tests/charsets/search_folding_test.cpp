#include "charsets/search_folding.h"

#include "charsets/base_letter.h"

#include <gtest/gtest.h>

#include <ostream>

#include <unicode/utf8.h>

#include <array>
#include <cstdint>
#include <string>

namespace stambrix::charsets {
namespace {

struct FoldingCase
{
    const char* label;
    const char* text;
    const char* words;
};

// A failing case names itself, not its bytes.
void PrintTo(const FoldingCase& testCase, std::ostream* out)
{
    *out << testCase.label;
}

class SearchWordsOf : public testing::TestWithParam<FoldingCase>
{
};

// The words are appended to what the string held already.
TEST_P(SearchWordsOf, FoldsAsTheIndexFilesTheLetter)
{
    std::string words = "voor ";
    AppendSearchWords(GetParam().text, words);
    EXPECT_EQ(words, std::string("voor ") + GetParam().words);
}

INSTANTIATE_TEST_SUITE_P(Letters, SearchWordsOf,
                         testing::Values(FoldingCase{"Accents",
                                                     "\xC3\x96zt\xC3\xBCrk \xC3\x89mile \xC3\x87"
                                                     "elik Rene\xCC\x81",
                                                     "ozturk emile celik rene"},
                                         FoldingCase{"SlashedO", "J\xC3\xB8rn \xC3\x98ster", "jorn oster"},
                                         FoldingCase{"AshAndEthel", "\xC3\x86r\xC3\xB8 \xC5\x92uvre", "aro ouvre"},
                                         FoldingCase{"SharpS",
                                                     "Stra\xC3\x9F"
                                                     "e \xE1\xBA\x9E",
                                                     "strase s"},
                                         FoldingCase{"StrokedLAndD",
                                                     "\xC5\x81ukasz \xC4\x90or\xC4\x91"
                                                     "e",
                                                     "lukasz dorde"},
                                         FoldingCase{"EthAndThorn", "\xC3\x90\xC3\xB3ra \xC3\xBE\xC3\xB3r", "dora tor"},
                                         FoldingCase{"TurkishI", "Y\xC4\xB1lmaz \xC4\xB0nce", "yilmaz ince"},
                                         FoldingCase{"DutchIj", "\xC4\xB2sselmuiden", "ijsselmuiden"},
                                         FoldingCase{"Cyrillic", "\xD0\x81\xD0\xBB\xD0\xBA\xD0\xB8\xD0\xBD",
                                                     "\xD0\xB5\xD0\xBB\xD0\xBA\xD0\xB8\xD0\xBD"},
                                         FoldingCase{"PunctuationSeparatesDigitsStay",
                                                     "'t Hoen, d\xE2\x80\x99"
                                                     "Ancona 2e",
                                                     "t hoen d ancona 2e"},
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
        std::array<std::uint8_t, U8_MAX_LENGTH> bytes{};
        std::int32_t length = 0;
        U8_APPEND_UNSAFE(bytes.data(), length, folding.character);
        const char letter = BaseLetterOf(
            std::string_view(reinterpret_cast<const char*>(bytes.data()), static_cast<std::size_t>(length)),
            TextEncoding::Utf8);
        if (letter != '\0') {
            EXPECT_EQ(folding.folded.substr(0, 1), std::string(1, letter))
                << "U+" << std::hex << static_cast<std::uint32_t>(folding.character);
        }
    }
}

} // namespace
} // namespace stambrix::charsets
