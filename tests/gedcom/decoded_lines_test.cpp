#include "gedcom/decoded_lines.h"

#include "gedcom/byte_source.h"
#include "test_support/file_bytes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace stambrix::gedcom {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;

struct Read
{
    Lines lines;
    DeclaredCharset declared;
};

Read ReadAll(std::string_view bytes, std::optional<DeclaredCharset> decidedElsewhere = std::nullopt)
{
    MemorySource source(bytes);
    DecodedLines decoded(source, kReadBufferSize, InputEnd::EndOfFile, decidedElsewhere);
    Read read;
    for (std::string_view line; decoded.ReadLine(line);)
        read.lines.emplace_back(line);
    read.declared = decoded.Declared();
    return read;
}

// ANSEL's «E8 75» is «ü»: the lines from the one after the CHAR line on are converted.
TEST(DecodedLines, ConvertsFromTheLineAfterTheDeclaration)
{
    const Read read = ReadAll("0 HEAD\n1 SOUR M\xE8u\n1 CHAR ANSEL\n1 NOTE M\xE8u\n0 @I1@ INDI\n1 NAME M\xE8u\n");
    EXPECT_EQ(read.lines,
              (Lines{"0 HEAD", "1 SOUR M\xE8u", "1 CHAR ANSEL", "1 NOTE M\u00FC", "0 @I1@ INDI", "1 NAME M\u00FC"}));
    EXPECT_EQ(read.declared, DeclaredCharset::Ansel);
    // A part of a file whose header lies elsewhere is converted from its first line on.
    EXPECT_EQ(ReadAll("1 NAME M\xE8u\n", DeclaredCharset::Ansel).lines, Lines{"1 NAME M\u00FC"});
}

TEST(DecodedLines, ByteOrderMarkDecidesBeforeTheHeaderAndTheHeaderBeforeRecords)
{
    const std::string person = "1 CHAR ANSEL\n1 NAME M\xE8u\n";
    const Read marked = ReadAll("\xEF\xBB\xBF"
                                "0 HEAD\n" +
                                person);
    EXPECT_EQ(marked.lines.back(), "1 NAME M\xE8u");
    EXPECT_EQ(marked.declared, DeclaredCharset::Utf8);
    const Read utf16 = ReadAll("0\0 \0H\0E\0A\0D\0\n\0001\0 \0C\0H\0A\0R\0 \0A\0N\0S\0E\0L\0\n\0"s);
    EXPECT_EQ(utf16.lines, (Lines{"0 HEAD", "1 CHAR ANSEL"}));
    EXPECT_EQ(utf16.declared, DeclaredCharset::Utf8);
    // A CHAR line in a record is text, and a file that begins with a record has no header.
    for (const std::string& before : {"0 HEAD\n0 @I1@ INDI\n"s, "0 @I1@ INDI\n"s}) {
        const Read record = ReadAll(before + person);
        EXPECT_EQ(record.lines.back(), "1 NAME M\xE8u") << before;
        EXPECT_EQ(record.declared, DeclaredCharset::None) << before;
    }
    EXPECT_EQ(ReadAll("0 HEAD\n1 CHAR utf8\n1 CHAR ANSEL\n").declared, DeclaredCharset::Utf8);
}

// presidents.ged declares IBMPC and writes «Frémont» with the byte 0x82 of code page 437.
TEST(DecodedLines, ReadsTheIbmpcFileOfTheCorpusAsCodePage437)
{
    const std::filesystem::path file = std::filesystem::path(STAMBRIX_CORPUS_DIR) / "presidents.ged";
    if (!std::filesystem::exists(file))
        GTEST_SKIP() << "presidents.ged is not in the corpus folder \"" STAMBRIX_CORPUS_DIR "\"";
    const Read read = ReadAll(test_support::ReadBytes(file));
    EXPECT_EQ(read.declared, DeclaredCharset::Ibmpc);
    EXPECT_EQ(std::count_if(read.lines.begin(), read.lines.end(),
                            [](const std::string& line) {
                                return line.find("over John C. Fr\u00E9mont and") != std::string::npos;
                            }),
              1);
}

} // namespace
} // namespace stambrix::gedcom
