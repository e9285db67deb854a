#include "gedcom/line_decoder.h"

#include "gedcom/byte_source.h"
#include "gedcom/decoded_lines.h"
#include "test_support/file_bytes.h"

#include <gtest/gtest.h>
#include <unicode/normalizer2.h>
#include <unicode/unistr.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace stambrix::gedcom {
namespace {

namespace fs = std::filesystem;

LineDecoder Ansel()
{
    return *LineDecoderFor(DeclaredCharset::Ansel);
}

// The same bytes in each converted set: 0x82 is «é» in code page 437 and «Ç» in Mac OS Roman, and
// nothing in ANSEL; 0x8E is «Ä» and «é».
TEST(LineDecoderFor, ConvertsOnlyTheSetsNotReadAsTheyStand)
{
    EXPECT_EQ(LineDecoderFor(DeclaredCharset::Ansel)->Decode("M\xE8uller \x82"), "M\u00FCller \uFFFD");
    EXPECT_EQ(LineDecoderFor(DeclaredCharset::Ibmpc)->Decode("Fr\x82mont \x8E\xE1"), "Fr\u00E9mont \u00C4\u00DF");
    EXPECT_EQ(LineDecoderFor(DeclaredCharset::Macintosh)->Decode("\x82\x8E \xAE\xBF \xCEuvre"),
              "\u00C7\u00E9 \u00C6\u00F8 \u0152uvre");
    for (const DeclaredCharset declared : {DeclaredCharset::None, DeclaredCharset::Other, DeclaredCharset::Utf8})
        EXPECT_FALSE(LineDecoderFor(declared).has_value()) << static_cast<int>(declared);
}

TEST(AnselLines, AsciiLinesPassThroughUntouched)
{
    LineDecoder decoder = Ansel();
    const std::string_view line = "1 NAME Jan /Berg/";
    EXPECT_EQ(decoder.Decode(line).data(), line.data());
    EXPECT_FALSE(decoder.SawNonAscii());
    EXPECT_EQ(decoder.Decode(""), "");
}

TEST(AnselLines, SpacingCharactersBecomeTheirUnicodeCharacter)
{
    LineDecoder decoder = Ansel();
    EXPECT_EQ(decoder.Decode("Br\xB2"
                             "derbund"),
              "Br\u00F8derbund");
    EXPECT_TRUE(decoder.SawNonAscii());
    EXPECT_EQ(decoder.Decode("\xA1\xA5\xA6\xB1\xB5\xB6\xB8\xBA\xC7\xCF"),
              "\u0141\u00C6\u0152\u0142\u00E6\u0153\u0131\u00F0\u00DF\u00DF");
    EXPECT_EQ(decoder.Decode("\xC3 1997, \xB9 5, 20\xC0"), "\u00A9 1997, \u00A3 5, 20\u00B0");
    EXPECT_EQ(decoder.Decode("\xC8"), "\u20AC");
}

TEST(AnselLines, DiacriticBeforeItsLetterComposesWithIt)
{
    LineDecoder decoder = Ansel();
    EXPECT_EQ(decoder.Decode("M\xE8uller"), "M\u00FCller");
    EXPECT_EQ(decoder.Decode("\xE2"
                             "Elise \xE1"
                             "a la"),
              "\u00C9lise \u00E0 la");
    EXPECT_EQ(decoder.Decode("Fran\xF0"
                             "cois Dvo\xE9r\xE2"
                             "ak"),
              "Fran\u00E7ois Dvo\u0159\u00E1k");
    EXPECT_EQ(decoder.Decode("\xEA"
                             "Angstr\xE8om"),
              "\u00C5ngstr\u00F6m");
    // Where Unicode has no single character, the letter comes first and the mark after it.
    EXPECT_EQ(decoder.Decode("\xE0"
                             "b\xF2"
                             "q"),
              "b\u0309q\u0323");
    // A diacritic may sit on a spacing character of ANSEL.
    EXPECT_EQ(decoder.Decode("\xE2\xB2"), "\u01FF");
    // Two diacritics on one letter keep their order: diaeresis, then acute.
    EXPECT_EQ(decoder.Decode("\xE8\xE2u"), "\u01D8");
    // The two halves of a ligature mark stay on their own letters.
    EXPECT_EQ(decoder.Decode("\xEBt\xECs"), "t\uFE20s\uFE21");
}

TEST(AnselLines, StrayDiacriticsAndUnknownBytesAreKeptVisible)
{
    LineDecoder decoder = Ansel();
    EXPECT_EQ(decoder.Decode("Jan\xE8"), "Jan\u0308");
    EXPECT_EQ(decoder.Decode("\xE2\xE8"), "\u0301\u0308");
    EXPECT_EQ(decoder.Decode("a\x80"
                             "b\xAF"
                             "c\xFF"),
              "a\uFFFD"
              "b\uFFFD"
              "c\uFFFD");
    EXPECT_EQ(decoder.Decode("\xE1\x90"), "\uFFFD\u0300");
}

// The ANSEL test file of the corpus and the UTF-16 export of the same tree.
class AnselTestFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const fs::path corpus = STAMBRIX_CORPUS_DIR;
        if (corpus.empty() || !fs::exists(corpus / "ANSEL.GED") ||
            !fs::exists(corpus / "unicode-littleendian-crlf.ged"))
            GTEST_SKIP() << "ANSEL.GED and unicode-littleendian-crlf.ged are not in the corpus folder \""
                         << STAMBRIX_CORPUS_DIR << "\"";
        ansel_ = LinesOf(corpus / "ANSEL.GED");
        unicode_ = LinesOf(corpus / "unicode-littleendian-crlf.ged");
    }

    // Each person's name with the PLAC lines of the person, in file order.
    using Persons = std::vector<std::pair<std::string, std::vector<std::string>>>;

    // The lines as a run reads them: the ANSEL file's converted from its CHAR line on.
    static std::vector<std::string> LinesOf(const fs::path& path)
    {
        const std::string bytes = test_support::ReadBytes(path);
        MemorySource source(bytes);
        DecodedLines lines(source);
        std::vector<std::string> read;
        for (std::string_view line; lines.ReadLine(line);)
            read.emplace_back(line);
        return read;
    }

    static Persons PersonsOf(const std::vector<std::string>& lines)
    {
        Persons persons;
        for (const std::string& line : lines) {
            if (line.starts_with("1 NAME "))
                persons.push_back({line.substr(7), {}});
            else if (line.starts_with("2 PLAC ") && !persons.empty())
                persons.back().second.push_back(line.substr(7));
        }
        return persons;
    }

    std::vector<std::string> ansel_;
    std::vector<std::string> unicode_;
};

// "slash l - uppercase (Ł), slash o - uppercase (Ø)" gives "Ł", "Ø".
std::vector<std::string> BracketedIn(const std::string& text)
{
    std::vector<std::string> found;
    for (auto open = text.find(" ("); open != std::string::npos; open = text.find(" (", open + 1)) {
        const auto close = text.find(')', open + 3);
        if (close != std::string::npos)
            found.push_back(text.substr(open + 2, close - open - 2));
    }
    return found;
}

std::vector<std::string> CharactersOf(const icu::UnicodeString& text)
{
    std::vector<std::string> characters;
    for (int i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
        std::string character;
        text.tempSubString(i, text.moveIndex32(i, 1) - i).toUTF8String(character);
        characters.push_back(character);
    }
    return characters;
}

TEST_F(AnselTestFile, SpacingCharactersAreThoseOfTheUnicodeExport)
{
    std::vector<std::string> fromAnsel;
    std::vector<std::string> fromUnicode;
    for (const auto& [name, places] : PersonsOf(ansel_))
        if (name.starts_with("/Special Characters"))
            for (const std::string& place : places)
                for (std::string& character : BracketedIn(place))
                    fromAnsel.push_back(std::move(character));
    for (const auto& [name, places] : PersonsOf(unicode_))
        if (name.starts_with("/Special Characters"))
            for (const std::string& place : places)
                for (std::string& character : BracketedIn(place))
                    fromUnicode.push_back(std::move(character));
    EXPECT_EQ(fromAnsel.size(), 35u);
    EXPECT_EQ(fromAnsel, fromUnicode);
}

// Every diacritic person of ANSEL.GED ("code: E8 (Unicode: diaeresis, 0308)/umlaut (dieresis)/")
// has the 26 letters with that diacritic in capitals and in small letters. Taken apart, each
// character must be its letter followed by the mark the name gives, and the line must be composed
// wherever Unicode composes.
TEST_F(AnselTestFile, EveryDiacriticComposesWithEveryLetter)
{
    UErrorCode status = U_ZERO_ERROR;
    const icu::Normalizer2* nfd = icu::Normalizer2::getNFDInstance(status);
    const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
    ASSERT_TRUE(U_SUCCESS(status));
    int diacritics = 0;
    for (const auto& [name, places] : PersonsOf(ansel_)) {
        if (!name.starts_with("code: "))
            continue;
        ++diacritics;
        const auto comma = name.find(", ");
        ASSERT_NE(comma, std::string::npos) << name;
        const auto mark = static_cast<UChar32>(std::stoul(name.substr(comma + 2, 4), nullptr, 16));
        ASSERT_EQ(places.size(), 2u) << name;
        for (const std::string& place : places) {
            const icu::UnicodeString text = icu::UnicodeString::fromUTF8(place);
            EXPECT_TRUE(nfc->isNormalized(text, status)) << name << ": " << place;
            icu::UnicodeString expected;
            const char first = &place == &places.front() ? 'A' : 'a';
            for (char letter = first; letter < first + 26; ++letter)
                expected.append(static_cast<UChar32>(letter)).append(mark);
            std::string got;
            std::string want;
            nfd->normalize(text, status).toUTF8String(got);
            expected.toUTF8String(want);
            EXPECT_EQ(got, want) << name;
        }
    }
    EXPECT_EQ(diacritics, 29);
}

// The UTF-16 export lists the letters for which Unicode has a composed character, and those
// characters: the ANSEL file's diacritic before the same letter must give exactly that character.
// Except for the underscore (LINE BELOW), for which the export wrote the letters with MACRON BELOW
// («Ḇ» is B and U+0331): the line below itself has no composed characters.
TEST_F(AnselTestFile, ComposedCharactersAreThoseOfTheUnicodeExport)
{
    std::map<std::string, std::string> anselByteOfMark;
    for (const auto& [name, places] : PersonsOf(ansel_))
        if (name.starts_with("code: ") && name.size() > 8)
            anselByteOfMark[name.substr(name.find(", ") + 2, 4)] =
                std::string(1, static_cast<char>(std::stoul(name.substr(6, 2), nullptr, 16)));
    LineDecoder decoder = Ansel();
    int compared = 0;
    for (const auto& [name, places] : PersonsOf(unicode_)) {
        // "- none -" twice where no letter has a composed character.
        if (!name.starts_with("code: ") || places.size() != 2 || places[0] == places[1] ||
            name.starts_with("code: 0332"))
            continue;
        const std::string code = name.substr(6, 4);
        ASSERT_TRUE(anselByteOfMark.count(code)) << name;
        const std::vector<std::string> letters = CharactersOf(icu::UnicodeString::fromUTF8(places[0]));
        const std::vector<std::string> composed = CharactersOf(icu::UnicodeString::fromUTF8(places[1]));
        ASSERT_EQ(letters.size(), composed.size()) << name;
        for (std::size_t i = 0; i < letters.size(); ++i) {
            if (letters[i] == ",")
                continue;
            EXPECT_EQ(decoder.Decode(anselByteOfMark[code] + letters[i]), composed[i]) << name << ", " << letters[i];
            ++compared;
        }
    }
    EXPECT_EQ(compared, 295);
}

} // namespace
} // namespace stambrix::gedcom
