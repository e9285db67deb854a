#include "gedcom/person_judgement.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

namespace stambrix::gedcom {
namespace {

TEST(IsPrivateRestriction, HoldsConfidentialOrPrivacyAmongItsParts)
{
    for (const std::string_view value : {"confidential", "CONFIDENTIAL, LOCKED", "locked,privacy", " Privacy "})
        EXPECT_TRUE(IsPrivateRestriction(value)) << value;
    for (const std::string_view value : {"locked", "LOCKED", "", "confidentiality", "not privacy"})
        EXPECT_FALSE(IsPrivateRestriction(value)) << value;
}

TEST(HoldsYearUpTo, TakesRunsOfThreeOrFourDigitsAlone)
{
    for (const std::string_view value :
         {"1925", "ABT 1850", "BET 1930 AND 1920", "12 MAY 1925", "1925/26", "@#DJULIAN@ 1700", "FROM 980 TO 1990"})
        EXPECT_TRUE(HoldsYearUpTo(value, 1925)) << value;
    for (const std::string_view value :
         {"1926", "12 MAY 2001", "12026", "1 JAN 1926/27", "19 25", "", "INT (zeer oud)"})
        EXPECT_FALSE(HoldsYearUpTo(value, 1925)) << value;
}

// Judges the lines below a person record's header, this year 2025.
bool LeavesOut(std::initializer_list<std::string_view> lines)
{
    PersonJudgement judgement(2025);
    judgement.Begin();
    for (const std::string_view line : lines)
        judgement.Examine(line);
    return judgement.LeavesOut();
}

TEST(PersonJudgement, KeepsTheDeadAndThoseWithAnOldDate)
{
    EXPECT_FALSE(LeavesOut({"1 NAME Jan /Kok/", "1 DEAT Y"}));
    EXPECT_FALSE(LeavesOut({"1 BURI"}));
    EXPECT_FALSE(LeavesOut({"1 CREM", "2 PLAC Goes"}));
    EXPECT_FALSE(LeavesOut({"1 BIRT", "2 DATE 31 DEC 1925"}));
    EXPECT_FALSE(LeavesOut({"1 SOUR @S1@", "2 DATA", "3 DATE 1880"}));
    EXPECT_FALSE(LeavesOut({"1 BIRT", "2 DATE 2000", "1 DEAT"}));
}

TEST(PersonJudgement, LeavesOutThoseWhoMayBeAlive)
{
    EXPECT_TRUE(LeavesOut({}));
    EXPECT_TRUE(LeavesOut({"1 NAME Jan /Kok/", "1 SEX M"}));
    EXPECT_TRUE(LeavesOut({"1 BIRT", "2 DATE 1 JAN 1926"}));
    // Only level-1 events count as the person's death, and a year in a note is no date.
    EXPECT_TRUE(LeavesOut({"1 EVEN", "2 DEAT", "1 NOTE overleden 1850"}));
}

TEST(PersonJudgement, LeavesOutThePrivateWhateverTheirDates)
{
    EXPECT_TRUE(LeavesOut({"1 RESN confidential", "1 DEAT", "2 DATE 1850"}));
    EXPECT_TRUE(LeavesOut({"1 BIRT", "2 DATE 1800", "1 RESN CONFIDENTIAL, LOCKED"}));
    EXPECT_FALSE(LeavesOut({"1 RESN locked", "1 DEAT"}));
    EXPECT_FALSE(LeavesOut({"1 BIRT", "2 RESN privacy", "1 DEAT"})) << "a restriction below level 1 is an event's";
}

// What is not the date proper of the person's life: a date phrase in parentheses, a DATE below a
// NO (GEDCOM 7: the event did not happen then). A restriction on one event hides that event from
// the index, not from the judgement.
struct JudgementCase
{
    std::string name;
    std::vector<std::string_view> lines;
    bool leavesOut;
};

class PersonJudgementOfDates : public testing::TestWithParam<JudgementCase>
{
};

TEST_P(PersonJudgementOfDates, LooksAtTheDateProperOnly)
{
    PersonJudgement judgement(2025);
    judgement.Begin();
    for (const std::string_view line : GetParam().lines)
        judgement.Examine(line);
    EXPECT_EQ(judgement.LeavesOut(), GetParam().leavesOut);
}

INSTANTIATE_TEST_SUITE_P(
    Records, PersonJudgementOfDates,
    testing::Values(JudgementCase{"NumberInAPhraseIsNoYear", {"1 BIRT", "2 DATE INT 3 MAR 2015 (akte nr. 412)"}, true},
                    JudgementCase{"OldYearOnlyInAPhraseMakesNoOneOld", {"1 BAPM", "2 DATE (gedoopt 1850)"}, true},
                    JudgementCase{"UnclosedPhraseRunsToTheEnd", {"1 BIRT", "2 DATE 2015 (akte 412"}, true},
                    JudgementCase{"OldYearAfterAClosedPhraseCounts", {"1 BIRT", "2 DATE (ca.) 1850"}, false},
                    JudgementCase{"NoDeathIsNoDeath", {"1 NAME Jan /Kok/", "1 NO DEAT"}, true},
                    JudgementCase{"DateBelowNoDeathIsNoDate", {"1 NO DEAT", "2 DATE FROM 1900 TO 2000"}, true},
                    JudgementCase{"DateAfterTheNoCounts", {"1 NO DEAT", "2 DATE 1900", "1 BIRT", "2 DATE 1900"}, false},
                    JudgementCase{
                        "RestrictedEventStillCounts", {"1 BIRT", "2 DATE 1 JAN 1900", "2 RESN confidential"}, false}),
    [](const auto& testInfo) { return testInfo.param.name; });

TEST(PersonJudgement, BeginForgetsTheRecordBefore)
{
    PersonJudgement judgement(2025);
    judgement.Begin();
    judgement.Examine("1 RESN privacy");
    judgement.Begin();
    judgement.Examine("1 DEAT");
    EXPECT_FALSE(judgement.LeavesOut());
}

} // namespace
} // namespace stambrix::gedcom
