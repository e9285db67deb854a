#include "gedcom/gedcom_reader.h"

#include "gedcom/byte_source.h"
#include "test_support/temp_folder.h"
#include "text/line_limit.h"
#include "text/run_failure.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include <psapi.h>
#else
#include <unistd.h>
#endif

namespace stambrix::gedcom {
namespace {

namespace fs = std::filesystem;
using namespace std::string_literals;
using Lines = std::vector<std::string>;

// Every line of `bytes`, read in blocks of `bufferSize` bytes.
Lines ReadAll(std::string_view bytes, std::size_t bufferSize)
{
    gedcom::MemorySource source(bytes);
    gedcom::GedcomReader reader(source, bufferSize);
    Lines lines;
    std::string_view line;
    while (reader.ReadLine(line))
        lines.emplace_back(line);
    EXPECT_TRUE(line.empty()) << "the end of the input gives an empty line";
    EXPECT_FALSE(reader.ReadLine(line)) << "reading past the end goes on giving false";
    EXPECT_TRUE(line.empty());
    return lines;
}

// `lines` with `count` letters x put before the first one, as read from the input with the same
// letters put in front.
Lines WithLeadingX(Lines lines, std::size_t count)
{
    if (count == 0)
        return lines;
    if (lines.empty())
        lines.emplace_back();
    lines.front().insert(0, count, 'x');
    return lines;
}

struct LineCase
{
    const char* name;
    std::string bytes;
    Lines lines;
};

// Reading runs with blocks of 1, 2, 7 and 19 bytes as well as the normal size, so that lines, line
// ends and CR LF pairs straddle refills; 19 also takes the eight-byte search for line breaks.
class ReadLine : public ::testing::TestWithParam<std::size_t>
{
protected:
    // Reads every case with 0 to 7 letters put in front, so each line end falls at every offset
    // within a block.
    void ExpectEveryShift(const std::vector<LineCase>& cases)
    {
        for (const LineCase& c : cases) {
            for (std::size_t shift = 0; shift < 8; ++shift) {
                SCOPED_TRACE(std::string(c.name) + ", " + std::to_string(shift) + " bytes put in front");
                EXPECT_EQ(ReadAll(std::string(shift, 'x') + c.bytes, GetParam()), WithLeadingX(c.lines, shift));
            }
        }
    }
};

TEST_P(ReadLine, EndsLinesAtLfCrLfLfCrAndLoneCr)
{
    const Lines gedcom{"0 HEAD", "1 CHAR ANSI", "0 @I1@ INDI", "1 NAME Jan /Berg/", "0 TRLR"};
    ExpectEveryShift({
        {"LF", "0 HEAD\n1 CHAR ANSI\n0 @I1@ INDI\n1 NAME Jan /Berg/\n0 TRLR\n", gedcom},
        {"CR LF", "0 HEAD\r\n1 CHAR ANSI\r\n0 @I1@ INDI\r\n1 NAME Jan /Berg/\r\n0 TRLR\r\n", gedcom},
        {"LF CR", "0 HEAD\n\r1 CHAR ANSI\n\r0 @I1@ INDI\n\r1 NAME Jan /Berg/\n\r0 TRLR\n\r", gedcom},
        {"lone CR", "0 HEAD\r1 CHAR ANSI\r0 @I1@ INDI\r1 NAME Jan /Berg/\r0 TRLR\r", gedcom},
        {"mixed", "0 HEAD\r\n1 CHAR ANSI\n0 @I1@ INDI\r1 NAME Jan /Berg/\n\r0 TRLR\r\n", gedcom},
        {"mixed, one-letter lines", "a\rb\nc\r\nd\n\re\rf\ng", {"a", "b", "c", "d", "e", "f", "g"}},
    });
}

TEST_P(ReadLine, GivesEmptyLinesAndALastLineWithoutLineEnd)
{
    ExpectEveryShift({
        {"CR LF CR LF", "a\r\n\r\nb", {"a", "", "b"}},
        {"LF LF", "a\n\nb", {"a", "", "b"}},
        {"CR CR", "a\r\rb", {"a", "", "b"}},
        {"LF CR LF CR", "a\n\r\n\rb", {"a", "", "b"}},
        {"LF CR LF", "a\n\r\nb", {"a", "", "b"}},
        {"CR LF CR", "a\r\n\rb", {"a", "", "b"}},
        {"CR CR LF", "a\r\r\nb", {"a", "", "b"}},
        {"LF LF CR", "a\n\n\rb", {"a", "", "b"}},
        {"three CR LF only", "\r\n\r\n\r\n", {"", "", ""}},
        {"one LF only", "\n", {""}},
        {"empty input", "", {}},
        {"last line without line end", "0 HEAD\r\n0 TRLR", {"0 HEAD", "0 TRLR"}},
        {"no line end at all", "0 TRLR", {"0 TRLR"}},
    });
}

// The end-of-file mark of DOS editors: a byte 26 with nothing but bytes 26, CR and LF after it.
TEST_P(ReadLine, EndsTheFileAtByte26FollowedByNothingButLineEnds)
{
    ExpectEveryShift({
        {"mid-line, last byte", "a\r\nbc\x1A", {"a", "bc"}},
        {"after CR LF, line ends and more 26 after it", "a\r\n\x1A\r\n\x1A\x1A\n\r\r", {"a"}},
        {"after an empty line", "a\r\n\r\n\x1A\r\n", {"a", ""}},
        {"as the first byte", "\x1A\r\n", {}},
        {"the first 26 of the last run, not an earlier one", "a\x1A\r\nb\x1A\r\n\x1A", {"a\x1A", "b"}},
    });
}

TEST_P(ReadLine, TakesByte26FollowedByTextAsAnOrdinaryByte)
{
    ExpectEveryShift({
        {"mid-line",
         "a\r\nbc\x1A"
         "de\r\nf\r\n",
         {"a",
          "bc\x1A"
          "de",
          "f"}},
        {"as the first byte",
         "\x1A"
         "a\r\n",
         {"\x1A"
          "a"}},
        {"between LF and CR", "a\n\x1A\rb", {"a", "\x1A", "b"}},
        {"twice",
         "a\x1A\x1A"
         "b",
         {"a\x1A\x1A"
          "b"}},
        {"line ends and 26 in between",
         "a\x1A\r\n\r\n\x1A\x1A\r\x1A"
         "b",
         {"a\x1A", "", "\x1A\x1A",
          "\x1A"
          "b"}},
        {"LF CR and CR after it", "a\x1A\n\r\rb", {"a\x1A", "", "b"}},
    });
}

// A run after a 26 too varied to be held is read as ordinary lines, whatever follows it.
TEST_P(ReadLine, ReadsARunTooVariedToHoldAsOrdinaryLines)
{
    const std::size_t repeats = gedcom::EndMarkRun::kMaxCounts / 2 + 10;
    std::string run;
    Lines lines{"a\x1A", ""};
    for (std::size_t i = 1; i < repeats; ++i) {
        run += "\r\r\x1A";
        lines.insert(lines.end(), {"\x1A", ""});
    }
    run = "a\x1A" + run + "\r\r\x1A";
    Lines beforeText = lines;
    beforeText.emplace_back("\x1A"
                            "b");
    lines.emplace_back("\x1A");
    ExpectEveryShift({{"before text", run + "b", beforeText}, {"at the end", run, lines}});
}

// A reader of the first part of a file knows the file goes on: a 26 at its end is no end mark.
TEST_P(ReadLine, TakesByte26AsOrdinaryWhenTheFileGoesOn)
{
    gedcom::MemorySource source("a\r\nb\x1A\r\n\x1A");
    gedcom::GedcomReader reader(source, GetParam(), gedcom::InputEnd::FileGoesOn);
    Lines lines;
    for (std::string_view line; reader.ReadLine(line);)
        lines.emplace_back(line);
    EXPECT_EQ(lines, (Lines{"a", "b\x1A", "\x1A"}));
    EXPECT_FALSE(reader.StoppedAtEndMarker());
}

TEST_P(ReadLine, PassesEveryOtherByteUnchanged)
{
    std::string line;
    for (int byte = 0; byte < 256; ++byte)
        if (byte != '\n' && byte != '\r' && byte != 26)
            line.push_back(static_cast<char>(byte));
    ExpectEveryShift({
        {"every byte but the line ends and 26", line + "\r\n" + line, {line, line}},
        {"NUL bytes", "0 NOTE a\0b\0\r\n\0\r\n"s, {"0 NOTE a\0b\0"s, "\0"s}},
        {"bytes above 127",
         "1 NAME Ren\xE9 /M\xFCller/\r\n1 PLAC \xC3\xA9\x80\xFF",
         {"1 NAME Ren\xE9 /M\xFCller/", "1 PLAC \xC3\xA9\x80\xFF"}},
    });
}

TEST_P(ReadLine, GivesALongLineWhole)
{
    std::string longLine(3 * 1024 * 1024 + 5, ' ');
    for (std::size_t i = 0; i < longLine.size(); ++i)
        longLine[i] = static_cast<char>('A' + i % 26);
    const Lines lines = ReadAll("0 HEAD\r\n" + longLine + "\r\n0 TRLR\r\n", GetParam());
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "0 HEAD");
    EXPECT_TRUE(lines[1] == longLine) << "a line of " << lines[1].size() << " bytes instead of " << longLine.size();
    EXPECT_EQ(lines[2], "0 TRLR");
}

std::uint64_t ResidentBytes()
{
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters = {};
    K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return counters.WorkingSetSize;
#else
    std::ifstream statm("/proc/self/statm");
    std::uint64_t pages = 0;
    std::uint64_t resident = 0;
    statm >> pages >> resident;
    return resident * static_cast<std::uint64_t>(sysconf(_SC_PAGESIZE));
#endif
}

// `head`, then `count` times `fill`, then `tail`, made as they are asked for. It notes how far the
// memory the process holds grew while the reader asked for more.
class GeneratedSource final : public gedcom::ByteSource
{
public:
    GeneratedSource(std::string head, char fill, std::uint64_t count, std::string tail)
        : head_(std::move(head)), fill_(fill), fillEnd_(head_.size() + count), tail_(std::move(tail)),
          startResident_(ResidentBytes())
    {
    }

    std::size_t Read(char* buffer, std::size_t size) override
    {
        const std::uint64_t resident = ResidentBytes();
        if (resident > startResident_)
            growth_ = std::max(growth_, resident - startResident_);
        std::size_t count = 0;
        while (count < size && position_ < fillEnd_ + tail_.size()) {
            const std::size_t room = size - count;
            std::size_t n = 0;
            if (position_ < head_.size()) {
                n = std::min<std::uint64_t>(room, head_.size() - position_);
                std::memcpy(buffer + count, head_.data() + position_, n);
            } else if (position_ < fillEnd_) {
                n = std::min<std::uint64_t>(room, fillEnd_ - position_);
                std::memset(buffer + count, fill_, n);
            } else {
                const std::size_t offset = position_ - fillEnd_;
                n = std::min(room, tail_.size() - offset);
                std::memcpy(buffer + count, tail_.data() + offset, n);
            }
            count += n;
            position_ += n;
        }
        return count;
    }

    std::uint64_t Growth() const { return growth_; }

private:
    std::string head_;
    char fill_;
    std::uint64_t fillEnd_;
    std::string tail_;
    std::uint64_t position_ = 0;
    std::uint64_t startResident_;
    std::uint64_t growth_ = 0;
};

constexpr std::uint64_t kMebibyte = 1 << 20;

TEST(LongLine, IsCutToSixteenMebibytesAndTheLinesAfterItAreRead)
{
    const std::string bytes = "0 HEAD\r\n" + std::string(text::kMaxLineLength + 5, 'x') + "\r\n0 TRLR\r\n";
    for (const std::size_t bufferSize : {std::size_t{7}, gedcom::kReadBufferSize, 2 * text::kMaxLineLength}) {
        SCOPED_TRACE("buffer of " + std::to_string(bufferSize) + " bytes");
        const Lines lines = ReadAll(bytes, bufferSize);
        ASSERT_EQ(lines.size(), 3u);
        EXPECT_EQ(lines[0], "0 HEAD");
        EXPECT_TRUE(lines[1] == std::string(text::kMaxLineLength, 'x')) << "a line of " << lines[1].size() << " bytes";
        EXPECT_EQ(lines[2], "0 TRLR");
    }
}

// A file of NUL bytes without a line end, or a link to /dev/zero, is one line without end.
TEST(LongLine, WithoutEndTakesBoundedMemory)
{
    GeneratedSource source("0 HEAD\r\n1 NOTE ", '\0', 256 * kMebibyte, "\r\n0 TRLR\r\n");
    gedcom::GedcomReader reader(source);
    std::vector<std::size_t> sizes;
    std::string_view line;
    while (reader.ReadLine(line)) {
        sizes.push_back(line.size());
        if (sizes.size() == 2) {
            EXPECT_EQ(line.substr(0, 8), std::string_view("1 NOTE \0", 8));
        }
    }
    EXPECT_EQ(sizes, (std::vector<std::size_t>{6, text::kMaxLineLength, 6}));
    EXPECT_EQ(line, "");
    EXPECT_LT(source.Growth(), 96 * kMebibyte);
}

// Millions of line ends after a 26 are looked through before the 26 is known to be ordinary.
TEST(LongLine, RunOfLineEndsAfterByte26TakesBoundedMemory)
{
    constexpr std::uint64_t kLineEnds = 16 * kMebibyte;
    GeneratedSource source("1 NOTE a\x1A", '\r', kLineEnds, "b\r\n");
    gedcom::GedcomReader reader(source);
    std::string_view line;
    ASSERT_TRUE(reader.ReadLine(line));
    EXPECT_EQ(line, "1 NOTE a\x1A");
    std::uint64_t emptyLines = 0;
    while (reader.ReadLine(line) && line.empty())
        ++emptyLines;
    EXPECT_EQ(emptyLines, kLineEnds - 1);
    EXPECT_EQ(line, "b");
    EXPECT_FALSE(reader.ReadLine(line));
    EXPECT_LT(source.Growth(), 8 * kMebibyte);

    GeneratedSource endOfFile("1 NOTE a\x1A", '\r', kLineEnds, "");
    gedcom::GedcomReader markedReader(endOfFile);
    ASSERT_TRUE(markedReader.ReadLine(line));
    EXPECT_EQ(line, "1 NOTE a");
    EXPECT_FALSE(markedReader.ReadLine(line));
    EXPECT_TRUE(markedReader.StoppedAtEndMarker());
    EXPECT_LT(endOfFile.Growth(), 8 * kMebibyte);
}

INSTANTIATE_TEST_SUITE_P(BufferSizes, ReadLine, ::testing::Values(1, 2, 7, 19, gedcom::kReadBufferSize),
                         [](const ::testing::TestParamInfo<std::size_t>& param) {
                             return param.param == gedcom::kReadBufferSize ? "DefaultBuffer"
                                                                           : "Buffer" + std::to_string(param.param);
                         });

class FileSourceTest : public ::testing::Test
{
protected:
    test_support::TempFolder folder_{"stambrix-reader"};
};

TEST_F(FileSourceTest, ThrowsRunFailureNamingThePathForAMissingFileOrAFolder)
{
    for (const fs::path& path : {folder_.path() / "ontbreekt.ged", folder_.path()}) {
        SCOPED_TRACE(path.string());
        try {
            gedcom::FileSource source(path.string());
            ADD_FAILURE() << "no text::RunFailure";
        } catch (const text::RunFailure& e) {
            const std::string what = e.what();
            EXPECT_EQ(what.rfind(path.string() + ": ", 0), 0u) << what;
            EXPECT_GT(what.size(), path.string().size() + 2) << "no reason given: " << what;
            EXPECT_EQ(e.path(), path.string());
        }
    }
}

TEST_F(FileSourceTest, HandsTheFileBytesToTheReader)
{
    const fs::path path = folder_.path() / "stamboom.ged";
    std::ofstream(path, std::ios::binary) << "0 HEAD\r\n0 @I1@ INDI\n\r1 NAME Jan /Berg/\r0 TRLR\r\n";
    gedcom::FileSource source(path.string());
    gedcom::GedcomReader reader(source, 7);
    Lines lines;
    std::string_view line;
    while (reader.ReadLine(line))
        lines.emplace_back(line);
    EXPECT_EQ(lines, (Lines{"0 HEAD", "0 @I1@ INDI", "1 NAME Jan /Berg/", "0 TRLR"}));
}

// A file rewritten in place or replaced by another under its name since it was opened is no longer
// what was read; one left alone, and a pipe, pass.
TEST_F(FileSourceTest, TellsAFileThatChangedSinceItWasOpened)
{
    const fs::path path = folder_.path() / "stamboom.ged";
    const auto expectChanged = [&](const gedcom::FileSource& source) {
        try {
            source.CheckUnchanged();
            ADD_FAILURE() << "no text::RunFailure";
        } catch (const text::RunFailure& e) {
            EXPECT_EQ(e.what(), path.string() + ": het bestand is veranderd terwijl het gelezen werd");
        }
    };
    std::ofstream(path, std::ios::binary) << "0 HEAD\r\n";
    {
        gedcom::FileSource source(path.string());
        EXPECT_NO_THROW(source.CheckUnchanged());
        std::ofstream(path, std::ios::binary | std::ios::app) << "0 TRLR\r\n";
        expectChanged(source);
    }
    {
        gedcom::FileSource source(path.string());
        const fs::path exported = folder_.path() / "nieuw.ged";
        std::ofstream(exported, std::ios::binary) << "0 HEAD\r\n0 TRLR\r\n";
        // Windows may refuse to replace a file that is open, as wine always does: then nothing changed.
        std::error_code refused;
        fs::rename(exported, path, refused);
        if (refused)
            EXPECT_NO_THROW(source.CheckUnchanged()) << refused.message();
        else
            expectChanged(source);
    }
#ifndef _WIN32
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    gedcom::FileSource pipeSource("/proc/self/fd/" + std::to_string(pipeEnds[0]));
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    EXPECT_NO_THROW(pipeSource.CheckUnchanged());
#endif
}

} // namespace
} // namespace stambrix::gedcom
