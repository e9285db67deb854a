#include "gedcom/byte_source.h"
#include "names/prefix_table.h"
#include "progress/progress_throttle.h"
#include "scan/scan_gedcom.h"
#include "scan/scan_test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

namespace stambrix::scan {
namespace {

using charsets::TextEncoding;

// The name index in its full form, with the usual prefixes.
ScanChoices Choices()
{
    static const names::PrefixTable prefixes = names::DefaultPrefixes();
    return {EventKind::Naam, RecordGroup::Personen, names::NameForm::Full, prefixes};
}

// The encoding one reading of `text` gives its index lines.
TextEncoding EncodingOf(std::string_view text)
{
    gedcom::MemorySource source(text);
    progress::ProgressThrottle progress;
    return ScanGedcom(source, Choices(), progress).encoding;
}

TEST(ScanGedcom, EncodingFromByteOrderMarkOrHeader)
{
    EXPECT_EQ(EncodingOf("0 HEAD\r\n1 CHAR ANSI\r\n0 TRLR\r\n"), TextEncoding::Windows1252);
    EXPECT_EQ(EncodingOf("0 HEAD\r\n1 CHAR UTF-8\r\n0 TRLR\r\n"), TextEncoding::Utf8);
    EXPECT_EQ(EncodingOf("0 HEAD\n1 char utf8\n"), TextEncoding::Utf8);
    EXPECT_EQ(EncodingOf("\xEF\xBB\xBF"
                         "0 HEAD\r\n0 TRLR\r\n"),
              TextEncoding::Utf8);
    EXPECT_EQ(EncodingOf("\xFF\xFE"
                         "0\0 \0H\0E\0A\0D\0\n\0"),
              TextEncoding::Utf8);
    // A CHAR line after the header is someone's text, not the file's declaration.
    EXPECT_EQ(EncodingOf("0 HEAD\n0 @N1@ NOTE\n1 CHAR UTF-8\n"), TextEncoding::Windows1252);
}

TEST(ScanGedcom, CharLineCountsOnlyInTheHeaderAndNotBesideAByteOrderMark)
{
    const std::string person = "0 @I1@ INDI\r\n1 CHAR ANSEL\r\n1 NAME C\u00E9line /M\u00FCller/\r\n";
    const std::vector<std::string> asWritten{"M\u00FCller, C\u00E9line\t\t\t[@I1@]"};
    // A file that begins with a record has no header.
    EXPECT_EQ(testing::ScanLines(person), asWritten);
    EXPECT_EQ(EncodingOf(person), TextEncoding::Utf8);
    EXPECT_EQ(testing::ScanLines("0 HEAD\r\n" + person), asWritten);
    const std::string mark = "\xEF\xBB\xBF";
    EXPECT_EQ(testing::ScanLines(mark + "0 HEAD\r\n1 CHAR ANSEL\r\n" + person), asWritten);
    EXPECT_EQ(EncodingOf(mark + "0 HEAD\r\n1 CHAR ANSI\r\n" + person), TextEncoding::Utf8);
    // Without a mark, the header's CHAR line holds.
    EXPECT_EQ(EncodingOf("0 HEAD\r\n1 CHAR ANSI\r\n" + person), TextEncoding::Windows1252);
}

TEST(ScanGedcom, AnselIsReadAsUtf8)
{
    const std::string ansel = "0 HEAD\r\n1 CHAR ANSEL\r\n0 @I1@ INDI\r\n1 NAME \xE2"
                              "Elise /M\xE8uller/\r\n1 BIRT\r\n2 PLAC \xA1\xE2"
                              "od\xE2z\r\n0 TRLR\r\n";
    EXPECT_EQ(testing::ScanLines(ansel), std::vector<std::string>{"M\u00FCller, \u00C9lise\t\t\t[@I1@]"});
    EXPECT_EQ(testing::ScanLines(ansel, EventKind::Plaatsen), std::vector<std::string>{"\u0141\u00F3d\u017A\t[@I1@]"});

    EXPECT_EQ(EncodingOf(ansel), TextEncoding::Utf8);
    // Nothing but ASCII reads the same either way: the index stays as a windows-1252 file would give it.
    EXPECT_EQ(EncodingOf("0 HEAD\n1 CHAR ANSEL\n0 @I1@ INDI\n1 NAME Jan /Berg/\n"), TextEncoding::Windows1252);
    // UTF-16 is converted as it is read; a declaration of ANSEL cannot change it again.
    using namespace std::string_literals;
    const std::string utf16 = "0\0 \0H\0E\0A\0D\0\n\0"s + "1\0 \0C\0H\0A\0R\0 \0A\0N\0S\0E\0L\0\n\0"s +
                              "0\0 \0I\0N\0D\0I\0\n\0"s + "1\0 \0N\0A\0M\0E\0 \0/\0\xE9\0/\0\n\0"s;
    gedcom::MemorySource source(utf16);
    progress::ProgressThrottle progress;
    const ScanResult result = ScanGedcom(source, Choices(), progress);
    ASSERT_EQ(result.indexList.size(), 1u);
    EXPECT_EQ(*result.indexList.begin(), "\u00E9, \t\t\t[]");
}

TEST(ScanGedcom, FileWithoutDeclarationIsUtf8WhenItReadsAsUtf8)
{
    EXPECT_EQ(EncodingOf("0 HEAD\n0 @I1@ INDI\n1 NAME C\xC3\xA9line /Bernard/\n"), TextEncoding::Utf8);
    EXPECT_EQ(EncodingOf("0 HEAD\n0 @I1@ INDI\n1 NAME C\xE9line /Bernard/\n"), TextEncoding::Windows1252);
    EXPECT_EQ(EncodingOf("0 HEAD\n0 @I1@ INDI\n1 NAME C\xC3\xA9line\n0 @I2@ INDI\n1 NAME Gar\xE7on\n"),
              TextEncoding::Windows1252);
    // What a file declares holds, even where its bytes would read as UTF-8.
    EXPECT_EQ(EncodingOf("0 HEAD\n1 CHAR ANSI\n0 @I1@ INDI\n1 NAME C\xC3\xA9line\n"), TextEncoding::Windows1252);
}

} // namespace
} // namespace stambrix::scan

namespace stambrix::scan {
namespace {

// Three persons: a private one, one who may be alive, one long dead; between them a source and a family.
const std::string kLivingAndDead = testing::Gedcom({
    "0 HEAD",          "0 @I1@ INDI",   "1 NAME Jan /Kok/",  "1 OCCU smid",
    "1 RESN privacy",  "1 DEAT",        "2 PLAC Goes",       "0 @S1@ SOUR",
    "1 DATE 1700",     "0 @I2@ INDI",   "1 NAME Piet /Kok/", "1 OCCU boer",
    "1 BIRT",          "2 DATE 1990",   "2 PLAC Axel",       "0 @F1@ FAM",
    "1 MARR",          "2 PLAC Tholen", "0 @I3@ INDI",       "1 NAME Kees /Kok/",
    "1 OCCU schipper", "1 BIRT",        "2 DATE 1850",       "2 PLAC Veere",
    "0 TRLR",
});

// The index lines and the persons left out when `kLivingAndDead` is read for `kind` and `form`.
std::pair<std::vector<std::string>, std::uint64_t> ScanLeavingOutLiving(EventKind kind, RecordGroup group,
                                                                        names::NameForm form)
{
    static const names::PrefixTable prefixes = names::DefaultPrefixes();
    gedcom::MemorySource source(kLivingAndDead);
    progress::ProgressThrottle progress;
    const ScanResult result = ScanGedcom(source, {kind, group, form, prefixes, true, 2025}, progress);
    const std::uint64_t records = group == RecordGroup::Gezinnen ? 1 : group == RecordGroup::Beiden ? 4 : 3;
    EXPECT_EQ(result.records, records) << "every record read is counted, those left out too";
    return {{result.indexList.begin(), result.indexList.end()}, result.leftOut};
}

TEST(ScanGedcom, LeavingOutLivingKeepsOnlyTheLinesOfPersonsKept)
{
    using Lines = std::vector<std::string>;
    EXPECT_EQ(ScanLeavingOutLiving(EventKind::Naam, RecordGroup::Personen, names::NameForm::Full),
              std::make_pair(Lines{"Kok, Kees\t* 1850\t\t[@I3@]"}, std::uint64_t{2}));
    EXPECT_EQ(ScanLeavingOutLiving(EventKind::Naam, RecordGroup::Personen, names::NameForm::FamilyName),
              std::make_pair(Lines{"Kok"}, std::uint64_t{2}));
    EXPECT_EQ(ScanLeavingOutLiving(EventKind::Beroepen, RecordGroup::Personen, names::NameForm::Full),
              std::make_pair(Lines{"schipper\t[@I3@]"}, std::uint64_t{2}));
    EXPECT_EQ(ScanLeavingOutLiving(EventKind::Plaatsen, RecordGroup::Beiden, names::NameForm::Full),
              std::make_pair(Lines{"Tholen\t[@F1@]", "Veere\t[@I3@]"}, std::uint64_t{2}));
    EXPECT_EQ(ScanLeavingOutLiving(EventKind::Plaatsen, RecordGroup::Gezinnen, names::NameForm::Full),
              std::make_pair(Lines{"Tholen\t[@F1@]"}, std::uint64_t{0}))
        << "family records are not judged";
}

TEST(ScanGedcom, WithoutLeavingOutLivingEveryPersonGivesLines)
{
    static const names::PrefixTable prefixes = names::DefaultPrefixes();
    gedcom::MemorySource source(kLivingAndDead);
    progress::ProgressThrottle progress;
    const ScanResult result =
        ScanGedcom(source, {EventKind::Beroepen, RecordGroup::Personen, names::NameForm::Full, prefixes}, progress);
    EXPECT_EQ(std::vector<std::string>(result.indexList.begin(), result.indexList.end()),
              (std::vector<std::string>{"smid\t[@I1@]", "boer\t[@I2@]", "schipper\t[@I3@]"}));
    EXPECT_EQ(result.leftOut, 0u);
}

// A level-2 RESN «confidential» or «privacy» below an event keeps the event's date, places and
// occupation out of the index when living persons are left out; the person is judged on all of it
// (the hidden birth in 1900 keeps each one here). Without leaving out, every value is there.
struct HiddenEventCase
{
    std::string name;
    EventKind kind;
    std::string gedcom;
    std::vector<std::string> leavingOut;
    std::vector<std::string> withoutLeavingOut;
};

class ScanHiddenEvent : public ::testing::TestWithParam<HiddenEventCase>
{
};

TEST_P(ScanHiddenEvent, GivesNoValuesWhenLivingAreLeftOut)
{
    static const names::PrefixTable prefixes = names::DefaultPrefixes();
    const HiddenEventCase& c = GetParam();
    for (const bool leaveOut : {true, false}) {
        gedcom::MemorySource source(c.gedcom);
        progress::ProgressThrottle progress;
        const ScanResult result = ScanGedcom(
            source, {c.kind, RecordGroup::Beiden, names::NameForm::Full, prefixes, leaveOut, 2025}, progress);
        EXPECT_EQ(std::vector<std::string>(result.indexList.begin(), result.indexList.end()),
                  leaveOut ? c.leavingOut : c.withoutLeavingOut)
            << (leaveOut ? "leaving out" : "without leaving out");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Events, ScanHiddenEvent,
    ::testing::Values(
        HiddenEventCase{"NameTakesTheFirstEventNotHidden",
                        EventKind::Naam,
                        testing::Gedcom({"0 @I1@ INDI", "1 NAME Jan /Kok/", "1 BIRT", "2 DATE 1 JAN 1900",
                                         "2 PLAC Leiden", "2 RESN confidential", "1 CHR", "2 DATE 3 JAN 1900"}),
                        {"Kok, Jan\t~ 03-01-1900\t\t[@I1@]"},
                        {"Kok, Jan\t* 01-01-1900\t\t[@I1@]"}},
        HiddenEventCase{"NameRestrictionBeforeTheDate",
                        EventKind::Naam,
                        testing::Gedcom({"0 @I1@ INDI", "1 NAME Jan /Kok/", "1 BIRT", "2 RESN PRIVACY", "2 DATE 1900",
                                         "1 DEAT", "2 DATE 1950"}),
                        {"Kok, Jan\t+ 1950\t\t[@I1@]"},
                        {"Kok, Jan\t* 1900\t\t[@I1@]"}},
        HiddenEventCase{"OccupationWithItsContinuation",
                        EventKind::Beroepen,
                        testing::Gedcom({"0 @I1@ INDI", "1 BIRT", "2 DATE 1900", "1 OCCU smid", "2 CONC s",
                                         "2 RESN privacy", "1 OCCU boer", "2 RESN locked"}),
                        {"boer\t[@I1@]"},
                        {"smids\t[@I1@]", "boer\t[@I1@]"}},
        HiddenEventCase{"PlacesOfPersonsAndFamilies",
                        EventKind::Plaatsen,
                        testing::Gedcom({"0 @I1@ INDI", "1 BIRT", "2 DATE 1900", "2 PLAC Leiden", "2 RESN confidential",
                                         "1 DEAT", "2 PLAC Goes", "0 @F1@ FAM", "1 MARR", "2 PLAC Tholen", "3 MAP",
                                         "2 RESN privacy", "1 DIV", "2 PLAC Veere"}),
                        {"Goes\t[@I1@]", "Veere\t[@F1@]"},
                        {"Leiden\t[@I1@]", "Goes\t[@I1@]", "Tholen\t[@F1@]", "Veere\t[@F1@]"}}),
    [](const auto& testInfo) { return testInfo.param.name; });

} // namespace
} // namespace stambrix::scan
