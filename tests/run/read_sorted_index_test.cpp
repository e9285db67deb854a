#include "progress/progress_throttle.h"
#include "run/read_sorted_index.h"
#include "run/run_request.h"
#include "scan/scan_test_support.h"
#include "test_support/recording_progress.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace stambrix::run {
namespace {

namespace fs = std::filesystem;

// A file whose records meet the cut in every way: a person whose event looks ahead over the
// middle, occupations continued on the next line, families and notes between persons.
std::string MixedTree(int persons, std::string_view charset = "UTF-8")
{
    std::string text = scan::testing::Gedcom({"0 HEAD", "1 CHAR " + std::string(charset)});
    for (int i = 1; i <= persons; ++i) {
        const std::string id = std::to_string(i);
        text += "0 @I" + id + "@ INDI\r\n1 NAME Jan" + id + " /van der Berg" + std::to_string(i % 97) + "/\r\n";
        text += (i % 3 == 0) ? "1 BIRT\r\n"
                             : "1 DEAT\r\n2 PLAC Goes\r\n2 DATE 1 MAY 18" + std::to_string(i % 90 + 10) + "\r\n";
        text += "1 OCCU boer\r\n2 CONC  en smid\r\n1 SEX " + std::string(i % 2 ? "M" : "F") + "\r\n";
        if (i % 5 == 0)
            text += "0 @F" + id + "@ FAM\r\n1 MARR\r\n2 PLAC Zierikzee\r\n0 @N" + id + "@ NOTE zie @ Indiana\r\n";
    }
    return text + "0 TRLR\r\n";
}

struct Cut
{
    std::vector<std::string> lines;
    std::optional<std::uint64_t> readPanel;
    charsets::TextEncoding encoding = charsets::TextEncoding::Windows1252;
    std::uint64_t leftOut = 0;
};

Cut ReadAll(const std::string& path, EventKind kind, RecordGroup group, std::uint64_t splitFrom,
            bool zonderLevenden = false)
{
    run::RunRequest request;
    request.gedcomPath = path;
    request.choices.eventKind = kind;
    request.choices.recordGroup = group;
    request.prefixes = names::DefaultPrefixes();
    request.zonderLevenden = zonderLevenden;
    gedcom::FileSource file(path);
    test_support::RecordingProgress recorded;
    progress::ProgressThrottle progress(recorded);
    const scan::ScanResult result = run::ReadSortedIndex(file, path, ScanChoicesOf(request), progress, "nl", splitFrom);
    return {{result.indexList.begin(), result.indexList.end()},
            test_support::LastOf(recorded.read),
            result.encoding,
            result.leftOut};
}

TEST(ReadSortedIndex, HalvesGiveExactlyTheLinesOfOnePass)
{
    const test_support::TempFolder folder("stambrix-split");
    const fs::path path = folder.path() / "stambrix-split-test.ged";
    const std::string tree = MixedTree(3000);
    std::ofstream(path, std::ios::binary) << tree;
    for (const auto& [kind, group] :
         {std::pair{EventKind::Naam, RecordGroup::Personen}, std::pair{EventKind::Beroepen, RecordGroup::Personen},
          std::pair{EventKind::Plaatsen, RecordGroup::Beiden}, std::pair{EventKind::Plaatsen, RecordGroup::Gezinnen}}) {
        const Cut whole = ReadAll(path.string(), kind, group, UINT64_MAX);
        const Cut halves = ReadAll(path.string(), kind, group, 0);
        EXPECT_EQ(halves.lines, whole.lines);
        EXPECT_EQ(halves.readPanel, whole.readPanel);
        EXPECT_FALSE(whole.lines.empty());
    }
}

// Every third person of the tree has no death and no date, and each of the 600 notes reads as a
// person record («@ Indiana») without either: left out by both halves alike.
TEST(ReadSortedIndex, HalvesLeaveOutThePersonsOfOnePass)
{
    const test_support::TempFolder folder("stambrix-split");
    const fs::path path = folder.path() / "stambrix-split-living.ged";
    std::ofstream(path, std::ios::binary) << MixedTree(3000);
    for (const EventKind kind : {EventKind::Naam, EventKind::Beroepen, EventKind::Plaatsen}) {
        const Cut whole = ReadAll(path.string(), kind, RecordGroup::Personen, UINT64_MAX, true);
        const Cut halves = ReadAll(path.string(), kind, RecordGroup::Personen, 0, true);
        EXPECT_EQ(halves.lines, whole.lines);
        EXPECT_EQ(whole.leftOut, 1600u);
        EXPECT_EQ(halves.leftOut, 1600u);
    }
}

// Halves of many place lines: with few places, which both halves keep once; with places that
// mostly differ, which both keep whole; and with places that differ in the later half only, which
// keeps its lines whole and the first half its places once.
TEST(ReadSortedIndex, HalvesOfManyPlacesGiveTheLinesOfOnePass)
{
    const test_support::TempFolder folder("stambrix-split");
    const fs::path path = folder.path() / "stambrix-split-places.ged";
    for (const auto& [firstPlaces, laterPlaces] :
         {std::pair{40, 40}, std::pair{1000000, 1000000}, std::pair{40, 1000000}}) {
        std::string tree = scan::testing::Gedcom({"0 HEAD", "1 CHAR ANSI"});
        for (int i = 1; i <= 70000; ++i) {
            const int places = i <= 35000 ? firstPlaces : laterPlaces;
            tree += "0 @I" + std::to_string(i) + "@ INDI\r\n1 BIRT\r\n2 PLAC Plaats " + std::to_string(i % places) +
                    "\r\n1 DEAT\r\n2 PLAC Stad " + std::to_string(i * 7 % places) + "\r\n";
        }
        std::ofstream(path, std::ios::binary | std::ios::trunc) << tree << "0 TRLR\r\n";
        const Cut whole = ReadAll(path.string(), EventKind::Plaatsen, RecordGroup::Beiden, UINT64_MAX);
        const Cut halves = ReadAll(path.string(), EventKind::Plaatsen, RecordGroup::Beiden, 0);
        ASSERT_EQ(whole.lines.size(), 140000u);
        EXPECT_TRUE(halves.lines == whole.lines) << firstPlaces << " and " << laterPlaces << " places";
    }
}

// The header, and with it the character set, is in the first half only.
TEST(ReadSortedIndex, LaterHalfReadsTheCharacterSetTheHeaderDeclares)
{
    const test_support::TempFolder folder("stambrix-split");
    const fs::path path = folder.path() / "stambrix-split-ansel.ged";
    std::string tree = MixedTree(2000, "ANSEL");
    tree.insert(tree.size() - std::string("0 TRLR\r\n").size(), "0 @I9@ INDI\r\n1 NAME Jan /M\xE8uller/\r\n");
    std::ofstream(path, std::ios::binary) << tree;
    const Cut whole = ReadAll(path.string(), EventKind::Naam, RecordGroup::Personen, UINT64_MAX);
    const Cut halves = ReadAll(path.string(), EventKind::Naam, RecordGroup::Personen, 0);
    EXPECT_EQ(halves.lines, whole.lines);
    EXPECT_EQ(halves.encoding, charsets::TextEncoding::Utf8);
    EXPECT_EQ(whole.encoding, charsets::TextEncoding::Utf8);
    EXPECT_EQ(halves.lines.back(), "M\u00FCller, Jan\t\t\t[@I9@]");

    // A windows-1252 file stays one in both halves.
    std::string windows = MixedTree(2000, "ANSI");
    windows.insert(windows.find("0 @I2@"), "0 @I9@ INDI\r\n1 NAME Jan /M\xFCller/\r\n");
    std::ofstream(path, std::ios::binary | std::ios::trunc) << windows;
    const Cut windowsHalves = ReadAll(path.string(), EventKind::Naam, RecordGroup::Personen, 0);
    EXPECT_EQ(windowsHalves.encoding, charsets::TextEncoding::Windows1252);
    EXPECT_EQ(windowsHalves.lines, ReadAll(path.string(), EventKind::Naam, RecordGroup::Personen, UINT64_MAX).lines);
}

// Cut anywhere, these files would read differently in halves than whole.
TEST(ReadSortedIndex, FilesThatCannotBeCutAtALevelZeroLineReadAsOne)
{
    const test_support::TempFolder folder("stambrix-split");
    const fs::path path = folder.path() / "stambrix-split-whole.ged";
    auto sameAsOnePass = [&](const std::string& bytes, EventKind kind, RecordGroup group) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        const Cut whole = ReadAll(path.string(), kind, group, UINT64_MAX);
        const Cut halves = ReadAll(path.string(), kind, group, 0);
        EXPECT_EQ(halves.lines, whole.lines);
        EXPECT_EQ(halves.encoding, whole.encoding);
        return whole;
    };
    // UTF-16 without a byte-order mark: «《 » is 0A 30 20 00 in little-endian order, a line end and
    // "0 " to a byte-wise look.
    std::u16string text = u"0 @I1@ INDI\n1 OCCU a\u300A b\n";
    std::string utf16;
    for (const char16_t unit : text) {
        utf16 += static_cast<char>(unit & 0xFF);
        utf16 += static_cast<char>(unit >> 8);
    }
    EXPECT_EQ(sameAsOnePass(utf16, EventKind::Beroepen, RecordGroup::Personen).lines,
              std::vector<std::string>{"a\u300A b\t[@I1@]"});

    // A file that declares no character set: one ill-formed line makes the whole windows-1252.
    const Cut undeclared = sameAsOnePass("0 @I1@ INDI\n1 NAME \xC3/\n0 @I2@ INDI\n1 NAME \xC3\x9B/\n", EventKind::Naam,
                                         RecordGroup::Personen);
    EXPECT_EQ(undeclared.encoding, charsets::TextEncoding::Windows1252);
    const Cut wellFormed = sameAsOnePass("0 @I1@ INDI\n1 NAME \xC3\x9B/\n0 @I2@ INDI\n1 NAME Jan /Berg/\n",
                                         EventKind::Naam, RecordGroup::Personen);
    EXPECT_EQ(wellFormed.encoding, charsets::TextEncoding::Utf8);

    // The declaration is read by the place scanner, inside a record the first line opens.
    EXPECT_EQ(sameAsOnePass("0 HEAD\n1 X @ INDI\n1 CHAR ANSI\n0 @I1@ INDI\n2 PLAC Goes\n0 @I2@ INDI\n2 PLAC \xC3\xA9\n",
                            EventKind::Plaatsen, RecordGroup::Beiden)
                  .encoding,
              charsets::TextEncoding::Windows1252);
    // A cut at a level-0 line that holds a place.
    sameAsOnePass("0 @I1@ INDI\n2 PLAC Goes\n0 @P1@ PLAC Delft\n0 @F1@ FAM\n1 PLAC Ede\n", EventKind::Plaatsen,
                  RecordGroup::Beiden);
}

// A byte 26 at the end of the first half, with the later half behind it, is an ordinary byte; one
// at the very end of the file ends it.
TEST(ReadSortedIndex, Byte26EndsTheFileOnlyBeforeNothingButLineEnds)
{
    std::string first;
    std::string later;
    for (int i = 1; i <= 200; ++i) {
        first += "0 @I" + std::to_string(i) + "@ INDI\r\n1 NAME Pieter /Aa" + std::to_string(i) + "/\r\n";
        later += "0 @J" + std::to_string(i) + "@ INDI\r\n1 NAME Jan /Bb" + std::to_string(i) + "/\r\n";
    }
    // In one pass the 26 is part of the sex, which it then does not name; so in the first half.
    first += "1 SEX M\x1A\r\n\x1A\r\n";
    const std::string end = "0 TRLR\r\n\x1A";
    // The cut lies at the first level-0 line from the middle on: the later half is made as long as
    // the first, so the cut falls right after the 26.
    const std::string padLine = "1 NOTE \r\n";
    ASSERT_GT(first.size(), later.size() + padLine.size() + end.size());
    later += "1 NOTE " + std::string(first.size() - later.size() - padLine.size() - end.size(), 'x') + "\r\n" + end;
    ASSERT_EQ(later.size(), first.size());

    const test_support::TempFolder folder("stambrix-split");
    const fs::path path = folder.path() / "stambrix-split-eof.ged";
    std::ofstream(path, std::ios::binary) << first << later;
    const Cut halves = ReadAll(path.string(), EventKind::Naam, RecordGroup::Personen, 0);
    const Cut whole = ReadAll(path.string(), EventKind::Naam, RecordGroup::Personen, UINT64_MAX);
    EXPECT_EQ(halves.lines.size(), 400u);
    EXPECT_EQ(halves.readPanel, 400u);
    EXPECT_NE(std::find(halves.lines.begin(), halves.lines.end(), "Bb200, Jan\t\t\t[@J200@]"), halves.lines.end());
    EXPECT_EQ(halves.lines, whole.lines);
}

} // namespace
} // namespace stambrix::run
