#include "scan/scan_test_support.h"
#include "scan/scanners.h"
#include "test_support/recording_progress.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace stambrix::scan {
namespace {

using ::testing::ElementsAre;
using testing::Gedcom;
using testing::ScanLines;

TEST(NameScanner, PersonGivesNameEventSexAndId)
{
    const auto lines =
        ScanLines(Gedcom({"0 HEAD", "1 CHAR ANSI", "0 @I1@ INDI", "1 NAME Jan /van der Berg/", "1 SEX M", "1 BIRT",
                          "2 DATE 12 MAR 1850", "0 @I2@ INDI", "1 NAME Piet /Vries/", "0 TRLR"}));
    EXPECT_THAT(lines, ElementsAre("Berg, Jan van der\t* 12-03-1850\tman\t[@I1@]", "Vries, Piet\t\t\t[@I2@]"));
}

TEST(NameScanner, FirstDatedEventOfTheRecordIsTaken)
{
    struct Case
    {
        std::initializer_list<std::string_view> events;
        std::string_view lifeEvent;
    };
    const Case cases[] = {
        {{"1 BIRT", "1 CHR", "2 DATE 1 JAN 1800"}, "~ 01-01-1800"},
        {{"1 DEAT", "2 PLAC Leiden", "2 DATE 1 JAN 1900"}, "+ 01-01-1900"},
        {{"1 BIRT", "2 DATE 1 JAN 1800", "1 DEAT", "2 DATE 2 FEB 1870"}, "* 01-01-1800"},
        {{"1 DEAT", "2 DATE 2 FEB 1870", "1 BIRT", "2 DATE 1 JAN 1800"}, "+ 02-02-1870"},
        // A date on the third line below the event is not seen; a later dated event still counts.
        {{"1 BURI", "2 PLAC x", "2 SOUR y", "2 DATE 5 MAY 1900", "1 CHR", "2 DATE 3 OCT 1799"}, "~ 03-10-1799"},
        {{"1 BURI", "2 PLAC x", "2 SOUR y", "2 DATE 5 MAY 1900"}, ""},
        {{"1 BIRT", "2 DATE ABT 1850"}, "* ca 1850"},
        {{"1 BIRT", "2 DATE"}, "* "},
    };
    for (const Case& c : cases) {
        std::string text = Gedcom({"0 @I1@ INDI", "1 NAME Jan /Berg/"});
        for (const std::string_view line : c.events)
            text.append(line).append("\r\n");
        text += Gedcom({"0 TRLR"});
        EXPECT_THAT(ScanLines(text), ElementsAre("Berg, Jan\t" + std::string(c.lifeEvent) + "\t\t[@I1@]")) << text;
    }
}

// The first NAME is the preferred one; a later SEX line replaces an earlier one.
TEST(NameScanner, FirstNameCountsAndNothingCarriesOver)
{
    const auto lines = ScanLines(Gedcom({"0 @I1@ INDI", "1 NAME Ab /Zee/", "1 NAME Abraham /Zeeman/", "1 SEX M",
                                         "1 SEX F", "0 @I2@ INDI", "1 NAME Kees /Dam/", "0 TRLR"}));
    EXPECT_THAT(lines, ElementsAre("Zee, Ab\t\tvrouw\t[@I1@]", "Dam, Kees\t\t\t[@I2@]"));
}

// A line read ahead for an event's date that is not its date is still examined.
TEST(NameScanner, LookAheadLosesNoLine)
{
    EXPECT_THAT(ScanLines(Gedcom({"0 @I1@ INDI", "1 NAME Jan /Berg/", "1 BIRT", "0 @I2@ INDI", "1 NAME Piet /Dam/",
                                  "1 SEX M", "0 TRLR"})),
                ElementsAre("Berg, Jan\t\t\t[@I1@]", "Dam, Piet\t\tman\t[@I2@]"));
    EXPECT_THAT(ScanLines(Gedcom({"0 @I1@ INDI", "1 BIRT", "1 SEX F", "0 TRLR"})), ElementsAre("\t\tvrouw\t[@I1@]"));
    EXPECT_THAT(ScanLines(Gedcom({"0 @I1@ INDI", "1 DEAT", "2 PLAC x", "1 SEX M", "0 TRLR"})),
                ElementsAre("\t\tman\t[@I1@]"));
    // An undated event directly before a dated one of a kind checked earlier in the same step.
    EXPECT_THAT(ScanLines(Gedcom({"0 @I1@ INDI", "1 DEAT", "1 BIRT", "2 DATE 1 JAN 1800", "0 TRLR"})),
                ElementsAre("\t* 01-01-1800\t\t[@I1@]"));
    EXPECT_THAT(ScanLines(Gedcom({"0 @I1@ INDI", "1 BURI", "1 CHR", "2 DATE 1 JAN 1800", "0 TRLR"})),
                ElementsAre("\t~ 01-01-1800\t\t[@I1@]"));
}

// The header that ends a person record is handed back only when it opens the next person.
TEST(NameScanner, NextPersonsHeaderIsExaminedAgainAndOtherHeadersAreReadPast)
{
    const std::string gedcom = Gedcom({"0 @I1@ INDI", "1 BIRT", "0 @I2@ INDI", "0 @F1@ FAM", "0 TRLR"});
    testing::ScanPasses passes(gedcom);
    const names::PrefixTable prefixes = names::DefaultPrefixes();
    EXPECT_EQ(ScanNames(passes.state, names::NameForm::Full, prefixes), Next::ExamineAgain);
    EXPECT_EQ(passes.state.line, "0 @I2@ INDI");
    EXPECT_EQ(ScanNames(passes.state, names::NameForm::Full, prefixes), Next::ReadOn);
    EXPECT_EQ(passes.state.line, "0 @F1@ FAM");
    EXPECT_EQ(ScanNames(passes.state, names::NameForm::Full, prefixes), Next::ReadOn);
    EXPECT_EQ(passes.state.line, "0 @F1@ FAM");
}

TEST(NameScanner, AnyLevelZeroLineEndsThePersonRecord)
{
    const auto lines =
        ScanLines(Gedcom({"0 @I1@ INDI", "1 NAME Jan /Berg/", "1 BIRT", "0 @F1@ FAM", "1 MARR", "2 DATE 1 JAN 1820",
                          "0 @R1@ REPO", "1 NAME Gemeentearchief", "0 @U1@ SUBM", "1 NAME Piet /Dam/", "0 TRLR"}));
    EXPECT_THAT(lines, ElementsAre("Berg, Jan\t\t\t[@I1@]"));
}

TEST(NameScanner, RecordWithoutCrossReferenceHasAnEmptyId)
{
    EXPECT_THAT(ScanLines(Gedcom({"0 HEAD", "0 INDI", "1 NAME Anna /Smit/", "0 TRLR"})),
                ElementsAre("Smit, Anna\t\t\t[]"));
}

TEST(NameScanner, TagsAndMarkersInAnyCase)
{
    EXPECT_THAT(
        ScanLines(Gedcom({"0 @i1@ indi", "1 name Jan /Berg/", "1 sex m", "1 birt", "2 date 3 oct 1799", "0 trlr"})),
        ElementsAre("Berg, Jan\t* 03-10-1799\tman\t[@i1@]"));
}

// Its id runs from the first to the last "@": here that is the one "@".
TEST(NameScanner, MarkerInsideOtherTextOpensARecord)
{
    EXPECT_THAT(ScanLines(Gedcom({"0 @I1@ INDI", "1 NAME Jan /Berg/", "1 NOTE zie @ Indiana", "1 SEX M", "0 TRLR"})),
                ElementsAre("Berg, Jan\t\t\t[@I1@]", "\t\tman\t[@]"));
}

TEST(NameScanner, LastLineOfAFileWithoutTrailerIsExamined)
{
    EXPECT_THAT(ScanLines("0 @I1@ INDI\r\n1 NAME Jan /Berg/"), ElementsAre("Berg, Jan\t\t\t[@I1@]"));
    EXPECT_THAT(ScanLines("0 @I1@ INDI\n1 NAME Jan /Berg/\n0 @I2@ INDI\n"),
                ElementsAre("Berg, Jan\t\t\t[@I1@]", "\t\t\t[@I2@]"));
}

TEST(NameScanner, CountsPersonRecordsOnTheReadPanel)
{
    test_support::RecordingProgress progress;
    ScanLines(Gedcom({"0 HEAD", "0 @I1@ INDI", "0 @I2@ INDI", "0 @F1@ FAM", "0 @I3@ INDI", "0 TRLR"}), EventKind::Naam,
              RecordGroup::Personen, &progress);
    EXPECT_EQ(test_support::LastOf(progress.read), 3u);
}

TEST(NameScanner, FamilyNameFormGivesTheNameTextAlone)
{
    const std::string text = Gedcom({"0 @I1@ INDI", "1 NAME Jan /van der Berg/", "1 SEX M", "0 TRLR"});
    testing::ScanPasses passes(text);
    EXPECT_EQ(ScanNames(passes.state, names::NameForm::FamilyName, names::DefaultPrefixes()), Next::ReadOn);
    ASSERT_EQ(passes.indexList.size(), 1u);
    EXPECT_EQ(*passes.indexList.begin(), "Berg van der");
}

} // namespace
} // namespace stambrix::scan
