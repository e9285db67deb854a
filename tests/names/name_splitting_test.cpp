#include "names/name_splitting.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace stambrix::names {
namespace {

struct SplitCase
{
    const char* surnameText;
    const char* prefix;
    const char* surname;
};

std::ostream& operator<<(std::ostream& out, const SplitCase& c)
{
    return out << testing::PrintToString(std::string(c.surnameText));
}

class SplitSurnameWithBuiltInList : public testing::TestWithParam<SplitCase>
{
};

TEST_P(SplitSurnameWithBuiltInList, GivesPrefixAndSurname)
{
    const SplitName split = SplitSurname(GetParam().surnameText, DefaultPrefixes());
    EXPECT_EQ(split.prefix, GetParam().prefix);
    EXPECT_EQ(split.surname, GetParam().surname);
}

INSTANTIATE_TEST_SUITE_P(
    TableSearch, SplitSurnameWithBuiltInList,
    testing::Values(SplitCase{"van der Berg", "van der", "Berg"}, SplitCase{"Berg", "", "Berg"},
                    // "den " and "der " stand before "de " and do not match.
                    SplitCase{"De Vries", "de", "Vries"}, SplitCase{"'t Hart", "'t", "Hart"},
                    SplitCase{"d'Ancona", "d'", "Ancona"}, SplitCase{"Vanderbilt", "", "Vanderbilt"},
                    SplitCase{"van den Broek", "van den", "Broek"}, SplitCase{"Van Der Berg", "van der", "Berg"},
                    SplitCase{"VAN D'Ancona", "van d'", "Ancona"}, SplitCase{"van  Berg ", "van", "Berg"},
                    SplitCase{"St. Jansen", "st.", "Jansen"}, SplitCase{"St.Jansen", "", "St.Jansen"},
                    SplitCase{"Mac Donald", "mac", "Donald"}, SplitCase{"van ", "van", ""}));

INSTANTIATE_TEST_SUITE_P(NoMatchAtTheStart, SplitSurnameWithBuiltInList,
                         testing::Values(SplitCase{" van Berg", "", "van Berg"},
                                         SplitCase{"van\tBerg", "", "van\tBerg"}, SplitCase{"van", "", "van"},
                                         SplitCase{"  Berg\t", "", "Berg"}, SplitCase{"d", "", "d"}));

INSTANTIATE_TEST_SUITE_P(Empty, SplitSurnameWithBuiltInList,
                         testing::Values(SplitCase{"", "", ""}, SplitCase{"  \t ", "", ""}));

INSTANTIATE_TEST_SUITE_P(
    CommaForm, SplitSurnameWithBuiltInList,
    testing::Values(SplitCase{"Berg, van der", "van der", "Berg"}, SplitCase{"BERG ,  VAN DER ", "van der", "BERG"},
                    SplitCase{"Berg,", "", "Berg"}, SplitCase{"Berg, van, der", "van, der", "Berg"},
                    SplitCase{"van der Berg, X", "x", "van der Berg"}, SplitCase{", van", "van", ""}));

TEST(SplitSurname, FirstMatchingEntryWinsOverALongerLaterOne)
{
    const PrefixTable table{{"van ", "van der "}};
    const SplitName split = SplitSurname("van der Berg", table);
    EXPECT_EQ(split.prefix, "van");
    EXPECT_EQ(split.surname, "der Berg");
}

TEST(SplitSurname, EmptyEntryNeverMatches)
{
    const PrefixTable table{{"", "van "}};
    const SplitName split = SplitSurname("van Berg", table);
    EXPECT_EQ(split.prefix, "van");
    EXPECT_EQ(split.surname, "Berg");
    EXPECT_EQ(SplitSurname("Berg", PrefixTable{{""}}).surname, "Berg");
}

TEST(SplitSurname, EmptyTableSplitsOnlyTheCommaForm)
{
    const PrefixTable empty;
    EXPECT_EQ(SplitSurname(" van der Berg ", empty).surname, "van der Berg");
    EXPECT_EQ(SplitSurname(" van der Berg ", empty).prefix, "");
    EXPECT_EQ(SplitSurname("Berg, Van", empty).prefix, "van");
    EXPECT_EQ(SplitSurname("Berg, Van", empty).surname, "Berg");
}

TEST(SplitSurname, FoldsOnlyAsciiLettersWhenMatching)
{
    // "\xE9" and "\xC9" are é and É in windows-1252.
    const PrefixTable table{{"d\xE9 ", "st."}};
    EXPECT_EQ(SplitSurname("D\xE9 Vries", table).prefix, "d\xE9");
    EXPECT_EQ(SplitSurname("D\xC9 Vries", table).prefix, "");
    EXPECT_EQ(SplitSurname("D\xC9 Vries", table).surname, "D\xC9 Vries");
    // An entry from the file ending in a full stop also matches directly before the name.
    EXPECT_EQ(SplitSurname("St.Jansen", table).prefix, "st.");
    EXPECT_EQ(SplitSurname("St.Jansen", table).surname, "Jansen");
}

struct NameCase
{
    const char* givenNames;
    const char* surnameText;
    const char* full;
    const char* familyName;
};

std::ostream& operator<<(std::ostream& out, const NameCase& c)
{
    return out << testing::PrintToString(std::string(c.givenNames) + "/" + c.surnameText + "/");
}

class ComposeNameTextWithBuiltInList : public testing::TestWithParam<NameCase>
{
};

TEST_P(ComposeNameTextWithBuiltInList, GivesBothForms)
{
    const SplitName split = SplitSurname(GetParam().surnameText, DefaultPrefixes());
    EXPECT_EQ(ComposeNameText(GetParam().givenNames, split, NameForm::Full), GetParam().full);
    EXPECT_EQ(ComposeNameText(GetParam().givenNames, split, NameForm::FamilyName), GetParam().familyName);
}

// Given names are what stands before the first slash, the surname text what stands between the
// first two, both as written.
INSTANTIATE_TEST_SUITE_P(WorkedExamples, ComposeNameTextWithBuiltInList,
                         testing::Values(NameCase{"Jan ", "van der Berg", "Berg, Jan van der", "Berg van der"},
                                         NameCase{"Jan ", "Berg, van der", "Berg, Jan van der", "Berg van der"},
                                         NameCase{"Jan ", "Berg", "Berg, Jan", "Berg"},
                                         NameCase{"Piet ", "De Vries", "Vries, Piet de", "Vries de"},
                                         NameCase{"Kees ", "'t Hart", "Hart, Kees 't", "Hart 't"},
                                         NameCase{"Maria ", "d'Ancona", "Ancona, Maria d'", "Ancona d'"},
                                         NameCase{"Anna ", "Vanderbilt", "Vanderbilt, Anna", "Vanderbilt"},
                                         NameCase{"Jan Piet ", "van den Broek", "Broek, Jan Piet van den",
                                                  "Broek van den"}));

INSTANTIATE_TEST_SUITE_P(EdgeCases, ComposeNameTextWithBuiltInList,
                         testing::Values(NameCase{"Jan ", "", ", Jan", ""}, NameCase{"Jan ", "   ", ", Jan", ""},
                                         NameCase{"", "", ", ", ""}, NameCase{"", "Berg", "Berg, ", "Berg"},
                                         NameCase{"Jan ", "van ", ", Jan van", " van"},
                                         NameCase{"Jan ", "Berg,", "Berg, Jan", "Berg"},
                                         NameCase{" \tJan  Piet\t", "Berg", "Berg, Jan  Piet", "Berg"},
                                         NameCase{"Jan ", " van Berg", "van Berg, Jan", "van Berg"}));

TEST(ComposeNameText, TrimsPartsGivenFromElsewhere)
{
    const SplitName split{" van der ", " Berg "};
    EXPECT_EQ(ComposeNameText(" Jan ", split, NameForm::Full), "Berg, Jan van der");
    EXPECT_EQ(ComposeNameText(" Jan ", split, NameForm::FamilyName), "Berg van der");
    EXPECT_EQ(ComposeNameText("Jan", SplitName{"  ", "Berg"}, NameForm::FamilyName), "Berg");
}

} // namespace
} // namespace stambrix::names
