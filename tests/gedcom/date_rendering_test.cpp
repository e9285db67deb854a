#include "gedcom/date_rendering.h"
#include "test_support/file_bytes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace stambrix::gedcom {
namespace {

struct DateCase
{
    std::string_view input;
    std::string_view expected;
};

std::ostream& operator<<(std::ostream& out, const DateCase& c)
{
    return out << "\"" << c.input << "\" -> \"" << c.expected << "\"";
}

class TranslateDateWordsRow : public testing::TestWithParam<DateCase>
{
};

TEST_P(TranslateDateWordsRow, ReplacesItsWordsInAnyCase)
{
    EXPECT_EQ(gedcom::TranslateDateWords(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    MonthNames, TranslateDateWordsRow,
    testing::Values(DateCase{"12 JANUARY 1850", "12 januari 1850"}, DateCase{"12 january 1850", "12 januari 1850"},
                    DateCase{"1 February 1850", "1 februari 1850"}, DateCase{"MARCH 1850", "maart 1850"},
                    DateCase{"12 MAY 1850", "12 mei 1850"}, DateCase{"12 may 1850", "12 mei 1850"},
                    DateCase{"1 June 1850", "1 juni 1850"}, DateCase{"1 JULY 1850", "1 juli 1850"},
                    DateCase{"1 August 1850", "1 augustus 1850"}, DateCase{"1 OCTOBER 1850", "1 oktober 1850"}));

INSTANTIATE_TEST_SUITE_P(Abbreviations, TranslateDateWordsRow,
                         testing::Values(DateCase{"3 MAR 1850", "3 mrt 1850"}, DateCase{"3 Mar 1850", "3 mrt 1850"},
                                         DateCase{"3 OCT 1799", "3 okt 1799"}, DateCase{"3 oct 1799", "3 okt 1799"},
                                         DateCase{"JAN FEB APR JUN JUL AUG SEP NOV DEC", //
                                                  "JAN FEB APR JUN JUL AUG SEP NOV DEC"},
                                         DateCase{"April September November December", //
                                                  "April September November December"}));

// A word is matched whole: a Dutch month name is not taken for the English one inside it.
INSTANTIATE_TEST_SUITE_P(WholeWordsOnly, TranslateDateWordsRow,
                         testing::Values(DateCase{"Marken", "Marken"}, DateCase{"Octavia", "Octavia"},
                                         DateCase{"Mayor", "Mayor"}, DateCase{"augustus", "augustus"},
                                         DateCase{"Nabet 1850", "Nabet 1850"}, DateCase{"AUGUST 1850", "augustus 1850"},
                                         DateCase{"2-mar-1850", "2-mrt-1850"}));

INSTANTIATE_TEST_SUITE_P(Qualifiers, TranslateDateWordsRow,
                         testing::Values(DateCase{"ABT 1850", "ca 1850"}, DateCase{"abt 1850", "ca 1850"},
                                         DateCase{"CAL 1850", "ca 1850"}, DateCase{"EST 1850", "ca 1850"},
                                         DateCase{"BEF 3 OCT 1799", "voor 3 okt 1799"}, DateCase{"AFT 1850", "na 1850"},
                                         DateCase{"BET 1850 AND 1860", "tussen 1850 AND 1860"},
                                         DateCase{"ABT. 1850", "ca 1850"}, DateCase{"Abt. 1850", "ca 1850"},
                                         DateCase{"CAL. 1850", "ca 1850"}, DateCase{"est. 1850", "ca 1850"},
                                         DateCase{"BEF. 1850", "voor 1850"}, DateCase{"AFT. 1850", "na 1850"},
                                         DateCase{"BET. 1850 AND 1860", "tussen 1850 AND 1860"},
                                         DateCase{"FROM 1850 TO 1860", "FROM 1850 TO 1860"},
                                         DateCase{"INT 1850 (gedoopt)", "INT 1850 (gedoopt)"}));

INSTANTIATE_TEST_SUITE_P(QualifiersNeedAFollowingBlank, TranslateDateWordsRow,
                         testing::Values(DateCase{"ABT1850", "ABT1850"}, DateCase{"ABT.1850", "ABT-1850"},
                                         DateCase{"1850 ABT", "1850 ABT"}, DateCase{"1850 BEF.", "1850 BEF-"}));

INSTANTIATE_TEST_SUITE_P(BlanksAndFullStops, TranslateDateWordsRow,
                         testing::Values(DateCase{"1850  vermoedelijk", "1850 vermoedelijk"},
                                         DateCase{"1850   vermoedelijk", "1850  vermoedelijk"},
                                         DateCase{"1850    vermoedelijk", "1850  vermoedelijk"},
                                         DateCase{"12.05.1850", "12-05-1850"},
                                         DateCase{"12 okt. 1850", "12 okt- 1850"}));

// Each row goes once from left to right over the text the rows before it have left.
INSTANTIATE_TEST_SUITE_P(OrderAndRepetition, TranslateDateWordsRow,
                         testing::Values(DateCase{"MARCH", "maart"}, DateCase{"OCTOBER", "oktober"},
                                         DateCase{"abt  1850", "ca 1850"}, DateCase{"Abt.  1850", "ca 1850"},
                                         DateCase{"ABT ABT 1850", "ca ca 1850"},
                                         DateCase{"BET 1 MAY 1850 AND 3 MAY 1851", "tussen 1 mei 1850 AND 3 mei 1851"},
                                         DateCase{"Mar MAR", "mrt mrt"}, DateCase{"", ""},
                                         DateCase{"\xe9t\xe9 1850", "\xe9t\xe9 1850"}));

class RenderGedcomDateCase : public testing::TestWithParam<DateCase>
{
};

TEST_P(RenderGedcomDateCase, GivesIndexForm)
{
    EXPECT_EQ(gedcom::RenderGedcomDate(GetParam().input), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(CompleteDates, RenderGedcomDateCase,
                         testing::Values(DateCase{"12 MAY 1850", "12-05-1850"}, DateCase{"3 OCT 1799", "03-10-1799"},
                                         DateCase{"12 okt. 1850", "12-10-1850"}, DateCase{"12.05.1850", "12-05-1850"},
                                         DateCase{"12/5/1850", "12-05-1850"}, DateCase{"12 - 05 - 1850", "12-05-1850"},
                                         DateCase{"12--05//1850", "12-05-1850"}, DateCase{"12-mei-1850", "12-05-1850"},
                                         DateCase{"12 MARCH 1850", "12-03-1850"}, DateCase{"1 MAR 1850", "01-03-1850"},
                                         DateCase{"12 augustus 1850", "12-08-1850"},
                                         DateCase{"12 OCTOBER 1850", "12-10-1850"}));

INSTANTIATE_TEST_SUITE_P(
    MonthWords, RenderGedcomDateCase,
    testing::Values(DateCase{"1 januari 1850", "01-01-1850"}, DateCase{"1 JAN 1850", "01-01-1850"},
                    DateCase{"1 februari 1850", "01-02-1850"}, DateCase{"1 Feb 1850", "01-02-1850"},
                    DateCase{"1 maart 1850", "01-03-1850"}, DateCase{"1 mrt 1850", "01-03-1850"},
                    DateCase{"1 APRIL 1850", "01-04-1850"}, DateCase{"1 apr 1850", "01-04-1850"},
                    DateCase{"1 Mei 1850", "01-05-1850"}, DateCase{"1 juni 1850", "01-06-1850"},
                    DateCase{"1 JUN 1850", "01-06-1850"}, DateCase{"1 juli 1850", "01-07-1850"},
                    DateCase{"1 jul 1850", "01-07-1850"}, DateCase{"1 August 1850", "01-08-1850"},
                    DateCase{"1 AUG 1850", "01-08-1850"}, DateCase{"1 september 1850", "01-09-1850"},
                    DateCase{"12 sept 1850", "12-09-1850"}, DateCase{"12 SEP 1850", "12-09-1850"},
                    DateCase{"12 Sept. 1850", "12-09-1850"}, DateCase{"1 oktober 1850", "01-10-1850"},
                    DateCase{"1 OKT 1850", "01-10-1850"}, DateCase{"1 November 1850", "01-11-1850"},
                    DateCase{"1 nov 1850", "01-11-1850"}, DateCase{"1 december 1850", "01-12-1850"},
                    DateCase{"31 DEC 1850", "31-12-1850"}));

// A Dutch "augustus" in the value holds "August", which the table lengthens once more.
INSTANTIATE_TEST_SUITE_P(UnknownMonthWords, RenderGedcomDateCase,
                         testing::Values(DateCase{"12 foo 1850", "12 foo 1850"}, DateCase{"12 ja 1850", "12 ja 1850"},
                                         DateCase{"12 meii 1850", "12 meii 1850"},
                                         DateCase{"12 maand 1850", "12 maand 1850"}));

INSTANTIATE_TEST_SUITE_P(DaysThatExist, RenderGedcomDateCase,
                         testing::Values(DateCase{"29 FEB 1600", "29-02-1600"}, DateCase{"29 FEB 2000", "29-02-2000"},
                                         DateCase{"29 FEB 1996", "29-02-1996"}, DateCase{"29 FEB 1700", "29 FEB 1700"},
                                         DateCase{"29 FEB 1850", "29 FEB 1850"}, DateCase{"28 FEB 1850", "28-02-1850"},
                                         DateCase{"30 FEB 2000", "30 FEB 2000"}, DateCase{"31 APR 1850", "31 APR 1850"},
                                         DateCase{"30 APR 1850", "30-04-1850"}, DateCase{"31 JUN 1850", "31 JUN 1850"},
                                         DateCase{"31 SEP 1850", "31 SEP 1850"}, DateCase{"31 NOV 1850", "31 NOV 1850"},
                                         DateCase{"31 JAN 1850", "31-01-1850"}, DateCase{"32 JAN 1850", "32 JAN 1850"},
                                         DateCase{"0 JAN 1850", "0 JAN 1850"}, DateCase{"00 JAN 1850", "00 JAN 1850"},
                                         DateCase{"01 JAN 1850", "01-01-1850"},
                                         DateCase{"001 JAN 1850", "001 JAN 1850"}));

INSTANTIATE_TEST_SUITE_P(MonthNumbers, RenderGedcomDateCase,
                         testing::Values(DateCase{"12 05 1850", "12-05-1850"}, DateCase{"12 12 1850", "12-12-1850"},
                                         DateCase{"12 13 1850", "12 13 1850"}, DateCase{"12 0 1850", "12 0 1850"},
                                         DateCase{"12 00 1850", "12 00 1850"}, DateCase{"12 005 1850", "12 005 1850"}));

INSTANTIATE_TEST_SUITE_P(Years, RenderGedcomDateCase,
                         testing::Values(DateCase{"1 JAN 100", "01-01-0100"}, DateCase{"3 OCT 850", "03-10-0850"},
                                         DateCase{"1 JAN 0850", "01-01-0850"}, DateCase{"31 DEC 9999", "31-12-9999"},
                                         DateCase{"1 JAN 99", "1 JAN 99"}, DateCase{"1 JAN 099", "1 JAN 099"},
                                         DateCase{"1 JAN 0099", "1 JAN 0099"}, DateCase{"12 MAY 50", "12 mei 50"},
                                         DateCase{"12/5/50", "12/5/50"}, DateCase{"1 JAN 10000", "1 JAN 10000"}));

// Only a whole day-month-year text is a date: everything else comes back translated.
INSTANTIATE_TEST_SUITE_P(NotCompleteDates, RenderGedcomDateCase,
                         testing::Values(DateCase{"", ""}, DateCase{"1850", "1850"}, DateCase{"12 1850", "12 1850"},
                                         DateCase{"MAY 1850", "mei 1850"}, DateCase{"ABT 1850", "ca 1850"},
                                         DateCase{"BEF 1 JAN 1800", "voor 1 JAN 1800"},
                                         DateCase{"BET 1 JAN 1800 AND 1 JAN 1810", "tussen 1 JAN 1800 AND 1 JAN 1810"},
                                         DateCase{"12 MAY 1850 10:30", "12 mei 1850 10:30"},
                                         DateCase{"12MAY1850", "12mei1850"}, DateCase{"12 MAY 1850.", "12 mei 1850-"},
                                         DateCase{"-12-05-1850", "-12-05-1850"},
                                         DateCase{"12\t05\t1850", "12\t05\t1850"}, DateCase{"18500", "18500"},
                                         DateCase{"12 MAY 1850 AND", "12 mei 1850 AND"}));

// A value of any length is translated in one pass: a megabyte of blanks, the pairs halved, and a
// megabyte of month words, each one translated.
TEST(TranslateDateWords, LongValuesAsShortOnes)
{
    const std::string blanks(1 << 20, ' ');
    EXPECT_EQ(TranslateDateWords("x" + blanks + "x"), "x" + std::string(1 << 19, ' ') + "x");
    std::string words;
    std::string translated;
    for (int i = 0; i < 100000; ++i) {
        words += "May. ";
        translated += "mei- ";
    }
    EXPECT_EQ(TranslateDateWords(words), translated);
}

// The short way to the common dates gives what the whole rule gives: on every DATE value of the
// corpus and on every month word in three cases between the separators, with days and years at
// their edges and words that are no month.
TEST(RenderGedcomDate, GivesWhatTheWholeRuleGives)
{
    std::vector<std::string> values;
    for (const std::string_view word :
         {"jan",     "january", "januari", "feb",    "february",  "februari", "mar",      "march",     "maart",
          "mrt",     "apr",     "april",   "may",    "mei",       "jun",      "june",     "juni",      "jul",
          "july",    "juli",    "aug",     "august", "augustus",  "sep",      "sept",     "september", "oct",
          "october", "oktober", "okt",     "nov",    "november",  "dec",      "december", "abt",       "bef",
          "bet",     "mayo",    "marken",  "ja",     "decembers", "12",       "0",        "13"}) {
        std::string upper(word);
        std::string title(word);
        for (char& c : upper)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        title[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(title[0])));
        for (const std::string& month : {std::string(word), upper, title})
            for (const std::string_view day : {"1", "01", "29", "31", "0", "123"})
                for (const std::string_view separator : {" ", "-", "/", "  ", " -/"})
                    for (const std::string_view year : {"1850", "1900", "2000", "099", "100", "18500"})
                        values.push_back(std::string(day) + std::string(separator) + month + std::string(separator) +
                                         std::string(year));
    }
    const std::filesystem::path corpus = STAMBRIX_CORPUS_DIR;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(corpus, error)) {
        const std::string bytes = test_support::ReadBytes(entry.path());
        for (std::size_t at = bytes.find("DATE "); at != std::string::npos; at = bytes.find("DATE ", at + 1)) {
            const std::size_t end = bytes.find_first_of("\r\n", at);
            values.push_back(bytes.substr(at + 5, end == std::string::npos ? std::string::npos : end - at - 5));
        }
    }
    for (const std::string& value : values)
        ASSERT_EQ(RenderGedcomDate(value), RenderAnyDate(value)) << "\"" << value << "\"";
}

} // namespace
} // namespace stambrix::gedcom
