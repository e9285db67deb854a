#include "scan/scan_test_support.h"
#include "scan/scanners.h"
#include "test_support/recording_progress.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace stambrix::scan {
namespace {

using ::testing::ElementsAre;
using testing::Gedcom;
using ::testing::IsEmpty;
using testing::ScanLines;

std::vector<std::string> Occupations(std::initializer_list<std::string_view> lines)
{
    return ScanLines(Gedcom(lines), EventKind::Beroepen);
}

TEST(OccupationScanner, EveryLevelOneOccupationGivesALine)
{
    EXPECT_THAT(Occupations({"0 @I1@ INDI", "1 OCCU landbouwer", "1 OCCU arbeider", "2 OCCU knecht", "0 TRLR"}),
                ElementsAre("landbouwer\t[@I1@]", "arbeider\t[@I1@]"));
    EXPECT_THAT(Occupations({"0 @I1@ INDI", "1 OCCU", "1 OCCU ", "0 TRLR"}), ElementsAre("\t[@I1@]"));
}

TEST(OccupationScanner, ContinuationLinesAreJoinedUnchanged)
{
    EXPECT_THAT(Occupations({"0 @I1@ INDI", "1 OCCU boer en", "2 CONC  smid", "2 conc  te Goes", "0 TRLR"}),
                ElementsAre("boer en smid te Goes\t[@I1@]"));
    // Only a CONC tag continues; "conc" inside a word, or CONT, does not.
    EXPECT_THAT(
        Occupations({"0 @I1@ INDI", "1 OCCU molenaar", "1 NOTE concept van een brief", "2 CONT verder", "0 TRLR"}),
        ElementsAre("molenaar\t[@I1@]"));
}

TEST(OccupationScanner, OccupationOnTheLastLineStillCounts)
{
    EXPECT_THAT(ScanLines("0 @I1@ INDI\r\n1 OCCU visser", EventKind::Beroepen), ElementsAre("visser\t[@I1@]"));
    EXPECT_THAT(ScanLines("0 @I1@ INDI\r\n1 OCCU visser\r\n2 CONC man", EventKind::Beroepen),
                ElementsAre("visserman\t[@I1@]"));
}

TEST(OccupationScanner, OnlyPersonRecordsAreRead)
{
    EXPECT_THAT(Occupations({"0 @I1@ INDI", "1 OCCU schipper", "0 @F1@ FAM", "1 OCCU gezin", "0 @N1@ NOTE",
                             "1 OCCU notitie", "0 @I2@ INDI", "1 OCCU kuiper", "0 TRLR"}),
                ElementsAre("schipper\t[@I1@]", "kuiper\t[@I2@]"));
}

std::vector<std::string> Places(RecordGroup group, test_support::RecordingProgress* progress = nullptr)
{
    return ScanLines(Gedcom({"0 HEAD", "1 PLAC Kop", "0 @F1@ FAM", "1 MARR", "2 PLAC Goes", "0 @I1@ INDI", "1 BIRT",
                             "2 PLAC Leiden", "1 RESI", "2 PLAC Leiden", "0 @I2@ INDI", "1 DEAT", "3 PLAC Delft",
                             "0 @F2@ FAM", "1 DIV", "2 PLAC Middelburg", "0 @S1@ SOUR", "1 PLAC Bronplaats", "0 TRLR"}),
                     EventKind::Plaatsen, group, progress);
}

TEST(PlaceScanner, RecordGroupChoosesTheRecords)
{
    test_support::RecordingProgress progress;
    EXPECT_THAT(Places(RecordGroup::Personen, &progress),
                ElementsAre("Leiden\t[@I1@]", "Leiden\t[@I1@]", "Delft\t[@I2@]"));
    EXPECT_EQ(test_support::LastOf(progress.read), 2u);
    EXPECT_THAT(Places(RecordGroup::Gezinnen, &progress), ElementsAre("Goes\t[@F1@]", "Middelburg\t[@F2@]"));
    EXPECT_EQ(test_support::LastOf(progress.read), 2u);
    EXPECT_THAT(Places(RecordGroup::Beiden, &progress),
                ElementsAre("Goes\t[@F1@]", "Leiden\t[@I1@]", "Leiden\t[@I1@]", "Delft\t[@I2@]", "Middelburg\t[@F2@]"));
    EXPECT_EQ(test_support::LastOf(progress.read), 4u);
}

// A person record that ends at a family header, handed to the place scanner: the group decides
// whether the family is taken up in the same pass, which header is left, and whether it is
// examined again.
TEST(PlaceScanner, HeaderThatEndsARecordIsExaminedAgainWhenTheGroupTakesItUp)
{
    struct Case
    {
        RecordGroup group;
        Next next;
        std::string_view line;
    };
    const Case cases[] = {
        {RecordGroup::Personen, Next::ReadOn, "0 @F1@ FAM"},
        {RecordGroup::Beiden, Next::ExamineAgain, "0 @I2@ INDI"},
        {RecordGroup::Gezinnen, Next::ReadOn, "0 @I1@ INDI"},
    };
    const std::string gedcom = Gedcom({"0 @I1@ INDI", "0 @F1@ FAM", "0 @I2@ INDI", "0 TRLR"});
    for (const Case& c : cases) {
        testing::ScanPasses passes(gedcom);
        EXPECT_EQ(ScanPlaces(passes.state, c.group), c.next) << static_cast<int>(c.group);
        EXPECT_EQ(passes.state.line, c.line) << static_cast<int>(c.group);
    }
}

TEST(PlaceScanner, PlaceTagInAnyCaseAtAnyLevel)
{
    EXPECT_THAT(ScanLines(Gedcom({"0 @I1@ INDI", "1 BIRT", "2 plac Leiden", "1 EVEN", "4 PLAC Zierikzee", "0 TRLR"}),
                          EventKind::Plaatsen),
                ElementsAre("Leiden\t[@I1@]", "Zierikzee\t[@I1@]"));
}

TEST(PlaceScanner, PlaceOnALevelZeroLineIsNotThePreviousRecords)
{
    EXPECT_THAT(ScanLines(Gedcom({"0 @I1@ INDI", "1 BIRT", "2 PLAC Leiden", "0 @P1@ PLAC Delft", "1 NOTE x",
                                  "2 PLAC Goes", "0 TRLR"}),
                          EventKind::Plaatsen),
                ElementsAre("Leiden\t[@I1@]"));
}

TEST(PlaceScanner, RecordsWithoutPlacesGiveNothing)
{
    EXPECT_THAT(
        ScanLines(Gedcom({"0 @I1@ INDI", "1 NAME Jan /Berg/", "0 TRLR"}), EventKind::Plaatsen, RecordGroup::Beiden),
        IsEmpty());
}

} // namespace
} // namespace stambrix::scan
