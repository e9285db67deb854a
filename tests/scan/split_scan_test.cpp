#include "scan/split_scan.h"
#include "scan_test_support.h"
#include "test_support/recording_panels.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace stambrix::scan {
namespace {

namespace fs = std::filesystem;

// A file whose records meet the cut in every way: a person whose event looks ahead over the
// middle, occupations continued on the next line, families and notes between persons.
std::string MixedTree(int persons, std::string_view charset = "UTF-8")
{
    std::string text = testing::Gedcom({"0 HEAD", "1 CHAR " + std::string(charset)});
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
    std::string readPanel;
    TextEncoding encoding = TextEncoding::Windows1252;
};

Cut ReadAll(const std::string& path, EventKind kind, RecordGroup group, std::uint64_t splitFrom)
{
    RunRequest request;
    request.gedcomPath = path;
    request.eventKind = kind;
    request.recordGroup = group;
    request.prefixes = names::DefaultPrefixes();
    FileSource file(path);
    test_support::RecordingPanels panels;
    const ScanResult result = ReadSortedIndex(file, path, request, panels, "nl", splitFrom);
    return {{result.indexList.begin(), result.indexList.end()}, test_support::LastOf(panels.read), result.encoding};
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
    EXPECT_EQ(halves.encoding, TextEncoding::Utf8);
    EXPECT_EQ(whole.encoding, TextEncoding::Utf8);
    EXPECT_EQ(halves.lines.back(), "M\u00FCller, Jan\t\t\t[@I9@]");

    // A windows-1252 file stays one in both halves.
    std::string windows = MixedTree(2000, "ANSI");
    windows.insert(windows.find("0 @I2@"), "0 @I9@ INDI\r\n1 NAME Jan /M\xFCller/\r\n");
    std::ofstream(path, std::ios::binary | std::ios::trunc) << windows;
    const Cut windowsHalves = ReadAll(path.string(), EventKind::Naam, RecordGroup::Personen, 0);
    EXPECT_EQ(windowsHalves.encoding, TextEncoding::Windows1252);
    EXPECT_EQ(windowsHalves.lines, ReadAll(path.string(), EventKind::Naam, RecordGroup::Personen, UINT64_MAX).lines);
}

TEST(ReadSortedIndex, NothingBehindByte26CountsInEitherHalf)
{
    const test_support::TempFolder folder("stambrix-split");
    const fs::path path = folder.path() / "stambrix-split-eof.ged";
    std::string tree = MixedTree(10);
    tree += '\x1a';
    tree += MixedTree(400);
    std::ofstream(path, std::ios::binary) << tree;
    const Cut halves = ReadAll(path.string(), EventKind::Naam, RecordGroup::Personen, 0);
    // Ten persons, and the two notes that mention "@ Indiana".
    EXPECT_EQ(halves.lines.size(), 12u);
    EXPECT_EQ(halves.lines, ReadAll(path.string(), EventKind::Naam, RecordGroup::Personen, UINT64_MAX).lines);
}

} // namespace
} // namespace stambrix::scan
