#include "names/prefix_table.h"

#include "test_support/temp_folder.h"
#include "text/ascii.h"
#include "text/line_limit.h"
#include "text/run_failure.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace stambrix::names {
namespace {

namespace fs = std::filesystem;

using Entries = std::vector<std::string>;

TEST(DefaultPrefixes, HasSixtyEntriesInMatchingOrder)
{
    const Entries entries = DefaultPrefixes().Entries();
    ASSERT_EQ(entries.size(), 60u);
    EXPECT_EQ(entries[0], "d'");
    EXPECT_EQ(entries[39], "st. ");
    EXPECT_EQ(entries[46], "van d'");
    EXPECT_EQ(entries[59], "voor de ");
    // An entry that begins a later one would hide it from the search.
    for (std::size_t i = 0; i < entries.size(); ++i)
        for (std::size_t j = i + 1; j < entries.size(); ++j)
            EXPECT_NE(entries[j].rfind(entries[i], 0), 0u) << '"' << entries[i] << "\" hides \"" << entries[j] << '"';
}

TEST(DefaultPrefixes, EndInOneBlankExceptTheApostropheEntries)
{
    const Entries entries = DefaultPrefixes().Entries();
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string& entry = entries[i];
        SCOPED_TRACE("entry " + std::to_string(i + 1) + " \"" + entry + '"');
        ASSERT_GE(entry.size(), 2u);
        EXPECT_GT(static_cast<unsigned char>(entry.front()), 32);
        EXPECT_EQ(text::ToLowerAscii(entry), entry);
        const bool endsInApostrophe = i == 0 || i == 1 || i == 2 || i == 46;
        if (endsInApostrophe) {
            EXPECT_EQ(entry.back(), '\'');
        } else {
            EXPECT_EQ(entry.back(), ' ');
            EXPECT_NE(entry[entry.size() - 2], ' ');
        }
    }
}

struct StoredLine
{
    const char* line;
    const char* entry;
};

class ParsePrefixFileStoring : public testing::TestWithParam<StoredLine>
{
};

TEST_P(ParsePrefixFileStoring, TrimsLowerCasesAndAddsBlankUnlessApostropheOrStopEnds)
{
    EXPECT_EQ(ParsePrefixFile(GetParam().line).Entries(), Entries{GetParam().entry});
}

INSTANTIATE_TEST_SUITE_P(StoringRule, ParsePrefixFileStoring,
                         testing::Values(StoredLine{"Van Der", "van der "}, StoredLine{"d'", "d'"},
                                         StoredLine{"van d'", "van d'"}, StoredLine{"'t", "'t "},
                                         StoredLine{"st.", "st."}, StoredLine{"'t'", "'t' "}, StoredLine{"MAC", "mac "},
                                         StoredLine{"\xC9", "\xC9 "}, StoredLine{"  ;x", ";x "},
                                         StoredLine{" \t Van \x01 ", "van "}, StoredLine{"van  der", "van  der "},
                                         StoredLine{"a.b", "a.b "}, StoredLine{"st.st.", "st.st. "},
                                         StoredLine{"o'.", "o'."}, StoredLine{"L'", "l'"}, StoredLine{"St. ", "st."}));

TEST(ParsePrefixFile, CommentsAndBlankLinesMakeNoEntry)
{
    const std::string text = ";comment\n"
                             "\n"
                             "van\n"
                             "   \t\n"
                             ";\n"
                             " ;not a comment\n"
                             "de\n"
                             ";last line a comment";
    EXPECT_EQ(ParsePrefixFile(text).Entries(), (Entries{"van ", ";not a comment ", "de "}));
}

TEST(ParsePrefixFile, TrailingBlankLinesMakeNoEntry)
{
    EXPECT_EQ(ParsePrefixFile("van\n\n  \n\t\n").Entries(), Entries{"van "});
}

TEST(ParsePrefixFile, WithoutPrefixLinesGivesEmptyTable)
{
    EXPECT_TRUE(ParsePrefixFile("").Entries().empty());
    EXPECT_TRUE(ParsePrefixFile(";alleen commentaar\r\n\r\n   \r\n").Entries().empty());
}

TEST(ParsePrefixFile, EveryLineEndSeparatesLines)
{
    const Entries expected{"van der ", "de ", "d'"};
    for (const char* end : {"\n", "\r\n", "\n\r", "\r"}) {
        SCOPED_TRACE(testing::PrintToString(std::string(end)));
        const std::string text = std::string(";kop") + end + "van der" + end + end + "de" + end + "d'" + end;
        EXPECT_EQ(ParsePrefixFile(text).Entries(), expected);
        EXPECT_EQ(ParsePrefixFile(text.substr(0, text.size() - std::string(end).size())).Entries(), expected);
    }
    EXPECT_EQ(ParsePrefixFile("van der\r;x\r\nde\n\rd'").Entries(), expected);
}

TEST(ParsePrefixFile, KeepsEveryLineOfALongFileInOrder)
{
    std::string text;
    Entries expected;
    for (int i = 1; i <= 600; ++i) {
        const std::string number = std::to_string(i);
        text.append("P").append(number).append("\r\n");
        expected.push_back(std::string("p").append(number).append(" "));
    }
    EXPECT_EQ(ParsePrefixFile(text).Entries(), expected);
}

class LoadPrefixTableTest : public testing::Test
{
protected:
    fs::path WriteFile(const std::string& name, const std::string& bytes)
    {
        const fs::path path = folder_.path() / name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string ReadFile(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    test_support::TempFolder folder_{"stambrix-prefix"};
};

TEST_F(LoadPrefixTableTest, MissingFileGivesBuiltInList)
{
    EXPECT_EQ(LoadPrefixTable(folder_.path() / kPrefixFileName).Entries(), DefaultPrefixes().Entries());
    EXPECT_EQ(LoadPrefixTable(folder_.path() / "missing" / kPrefixFileName).Entries(), DefaultPrefixes().Entries());
}

TEST_F(LoadPrefixTableTest, ExistingFileWithoutPrefixesGivesEmptyTable)
{
    EXPECT_TRUE(LoadPrefixTable(WriteFile("empty.txt", "")).Entries().empty());
    EXPECT_TRUE(LoadPrefixTable(WriteFile("comments.txt", ";een\r\n\r\n;twee\r\n")).Entries().empty());
}

TEST_F(LoadPrefixTableTest, ReadsFileBytesUnchangedAndLeavesItAsItWas)
{
    const std::string bytes = ";kop\r\nVAN DEN\rter\n\xC9t\xE9\r\nst.\r\n";
    const fs::path path = WriteFile(kPrefixFileName, bytes);
    const Entries expected{"van den ", "ter ", "\xC9t\xE9 ", "st."};
    EXPECT_EQ(LoadPrefixTable(path).Entries(), expected);
    EXPECT_EQ(LoadPrefixTable(path).Entries(), expected);
    EXPECT_EQ(ReadFile(path), bytes);
}

TEST_F(LoadPrefixTableTest, FileLargerThanOneReadKeepsEveryLine)
{
    std::string bytes;
    for (int i = 0; i < 20000; ++i)
        bytes.append("voorvoegsel").append(std::to_string(i)).append("\n");
    const PrefixTable table = LoadPrefixTable(WriteFile(kPrefixFileName, bytes));
    ASSERT_EQ(table.Entries().size(), 20000u);
    EXPECT_EQ(table.Entries().front(), "voorvoegsel0 ");
    EXPECT_EQ(table.Entries().back(), "voorvoegsel19999 ");
}

TEST_F(LoadPrefixTableTest, SkipsAUtf8ByteOrderMarkAtTheStart)
{
    EXPECT_EQ(LoadPrefixTable(WriteFile(kPrefixFileName, "\xEF\xBB\xBFvan der\r\nde\r\n")).Entries(),
              (Entries{"van der ", "de "}));
    EXPECT_EQ(LoadPrefixTable(WriteFile("comment.txt", "\xEF\xBB\xBF;kop\r\nte\r\n")).Entries(), Entries{"te "});
}

TEST_F(LoadPrefixTableTest, KeepsSixteenMebibytesOfALongerLineAndReadsOn)
{
    const std::string longLine(text::kMaxLineLength + 5, 'A');
    const PrefixTable table = LoadPrefixTable(WriteFile(kPrefixFileName, longLine + "\r\nvan\r\n"));
    ASSERT_EQ(table.Entries().size(), 2u);
    EXPECT_TRUE(table.Entries()[0] == std::string(text::kMaxLineLength, 'a') + " ")
        << "an entry of " << table.Entries()[0].size() << " bytes";
    EXPECT_EQ(table.Entries()[1], "van ");
}

TEST_F(LoadPrefixTableTest, DirectoryInPlaceOfFileThrowsRunFailureNamingPath)
{
    const fs::path path = folder_.path() / kPrefixFileName;
    fs::create_directory(path);
    try {
        (void)LoadPrefixTable(path);
        FAIL() << "no text::RunFailure";
    } catch (const text::RunFailure& e) {
        EXPECT_EQ(e.path(), path.string());
        const std::string start = path.string() + ": ";
        EXPECT_EQ(std::string(e.what()).rfind(start, 0), 0u) << e.what();
        EXPECT_GT(std::string(e.what()).size(), start.size()) << e.what();
    }
    EXPECT_TRUE(fs::is_directory(path));
}

TEST_F(LoadPrefixTableTest, UnreadableFileThrowsRunFailureNamingPath)
{
    const fs::path path = WriteFile(kPrefixFileName, "van\n");
    fs::permissions(path, fs::perms::none);
    if (std::ifstream(path).is_open())
        GTEST_SKIP() << "this user reads files whatever their permissions";
    try {
        (void)LoadPrefixTable(path);
        FAIL() << "no text::RunFailure";
    } catch (const text::RunFailure& e) {
        EXPECT_EQ(std::string(e.what()).rfind(path.string() + ": ", 0), 0u) << e.what();
    }
    EXPECT_EQ(fs::file_size(path), 4u) << "the file is left as it was";
}

TEST(LoadPrefixTable, ShippedFileGivesBuiltInListButStDotWithoutBlank)
{
    // The file's storing rule cannot give "st. ": a line «st.» ends in its first full stop, so it
    // stays «st.». That entry matches «St. Jansen» just as "st. " does, and «St.Jansen» too.
    Entries expected = DefaultPrefixes().Entries();
    expected[39] = "st.";
    EXPECT_EQ(LoadPrefixTable(fs::path(STAMBRIX_SOURCE_DIR) / kPrefixFileName).Entries(), expected);
}

} // namespace
} // namespace stambrix::names
