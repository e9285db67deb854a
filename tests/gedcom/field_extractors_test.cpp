#include "gedcom/field_extractors.h"
#include "gedcom/gedcom_line.h"

#include <gtest/gtest.h>

namespace stambrix::gedcom {
namespace {

TEST(RecordIdOf, RunsFromFirstToLastAt)
{
    EXPECT_EQ(gedcom::RecordIdOf("0 @I12@ INDI"), "@I12@");
    EXPECT_EQ(gedcom::RecordIdOf("  0 @F3@ FAM  "), "@F3@");
    EXPECT_EQ(gedcom::RecordIdOf("0 @NoTe ref@ NOTE"), "@NoTe ref@");
    EXPECT_EQ(gedcom::RecordIdOf("0 INDI"), "");
    EXPECT_EQ(gedcom::RecordIdOf("1 NOTE zie @ Indiana"), "@");
}

TEST(NameOf, FullAndFamilyNameForms)
{
    const names::PrefixTable prefixes = names::DefaultPrefixes();
    struct Case
    {
        std::string_view line, full, family;
    };
    const Case cases[] = {
        {"1 NAME Jan /van der Berg/", "Berg, Jan van der", "Berg van der"},
        {"1 NAME /Berg/", "Berg, ", "Berg"},
        {"1 NAME Bastiaan ten Kok", ", Bastiaan ten Kok", ""},
        {"1 NAME Jan\tEVIL /Jan\x01sen/\x7f", "Jan sen, Jan EVIL", "Jan sen"},
        {"1 NAME Jan /Berg", ", Jan", ""},
        {"1 NAME Jan /Berg/ jr", "Berg, Jan", "Berg"},
        {"1 name Jan /Berg/", "Berg, Jan", "Berg"},
        {"1 Name Kees /'t Hart/", "Hart, Kees 't", "Hart 't"},
        {"2 NAME Jan /Berg/", "Berg, Jan", "Berg"},
        {"   ", ", ", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(gedcom::NameOf(c.line, names::NameForm::Full, prefixes), c.full) << c.line;
        EXPECT_EQ(gedcom::NameOf(c.line, names::NameForm::FamilyName, prefixes), c.family) << c.line;
    }
}

TEST(SexOf, LastCharacterOfTheLineAsRead)
{
    EXPECT_EQ(gedcom::SexOf("1 SEX M"), "man");
    EXPECT_EQ(gedcom::SexOf("1 SEX f"), "vrouw");
    EXPECT_EQ(gedcom::SexOf("1 SEX U"), "onbekend");
    EXPECT_EQ(gedcom::SexOf("1 SEX M "), "onbekend");
    EXPECT_EQ(gedcom::SexOf(" "), "");
}

TEST(FieldValues, TagsFoundInAnyCase)
{
    EXPECT_EQ(gedcom::DateOf("2 DATE 12 MAY 1850"), "12-05-1850");
    EXPECT_EQ(gedcom::DateOf("2 date 3 oct 1799"), "03-10-1799");
    EXPECT_EQ(gedcom::DateOf("2 DATE"), "");
    EXPECT_EQ(gedcom::OccupationOf("1 OCCU timmerman "), "timmerman");
    EXPECT_EQ(gedcom::OccupationOf("1 occu timmerman"), "timmerman");
    EXPECT_EQ(gedcom::PlaceOf("2 PLAC Amsterdam, Noord-Holland"), "Amsterdam, Noord-Holland");
    EXPECT_EQ(gedcom::PlaceOf("2 plac Leiden"), "Leiden");
}

TEST(GedcomLine, LevelTagAndText)
{
    EXPECT_TRUE(gedcom::IsLevelZero("0 TRLR"));
    EXPECT_TRUE(gedcom::IsLevelZero("  0\t@S1@ SOUR"));
    EXPECT_FALSE(gedcom::IsLevelZero("0"));
    EXPECT_FALSE(gedcom::IsLevelZero("01 NAME"));
    EXPECT_FALSE(gedcom::IsLevelZero("10 NOTE"));
    EXPECT_EQ(gedcom::TagOf("0 @I1@ INDI"), "INDI");
    EXPECT_EQ(gedcom::TagOf("0 @NoTe ref@ NOTE"), "NOTE");
    EXPECT_EQ(gedcom::TagOf("2 conc  smid"), "conc");
    EXPECT_EQ(gedcom::TextAfterTagOf("2 CONC  smid "), " smid ");
    EXPECT_EQ(gedcom::TextAfterTagOf("2 CONC"), "");
    EXPECT_TRUE(gedcom::OpensPersonRecord("0 INDI", gedcom::MarkersOf("0 INDI")));
    EXPECT_TRUE(gedcom::OpensPersonRecord("0 @i1@ indi", gedcom::MarkersOf("0 @i1@ indi")));
    EXPECT_FALSE(gedcom::OpensPersonRecord("1 INDI", gedcom::MarkersOf("1 INDI")));
    EXPECT_TRUE(gedcom::OpensFamilyRecord("0 FAM", gedcom::MarkersOf("0 FAM")));
    EXPECT_FALSE(gedcom::OpensFamilyRecord("1 FAMS @F1@", gedcom::MarkersOf("1 FAMS @F1@")));
    EXPECT_TRUE(gedcom::IsContinuation("3 Conc x"));
    EXPECT_FALSE(gedcom::IsContinuation("1 NOTE concept"));
    EXPECT_FALSE(gedcom::IsContinuation("2 CONT x"));
}

} // namespace
} // namespace stambrix::gedcom
