#include "index/index_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <string>
#include <vector>

namespace stambrix::index {
namespace {

TEST(IndexList, ReorderPutsTheLinesInTheGivenOrder)
{
    IndexList list;
    // Lines large and many enough to need several blocks of text and of views; the views must stay
    // valid as blocks are added.
    std::vector<std::string> lines;
    for (int i = 0; i < 70000; ++i)
        lines.push_back("regel " + std::to_string(i));
    for (int i = 0; i < 3000; ++i)
        lines.push_back(std::string(700, static_cast<char>('a' + i % 26)) + std::to_string(i));
    lines.push_back(std::string(2 * 1024 * 1024 + 3, 'L'));
    lines.push_back("");
    lines.push_back("laatste");
    for (const std::string& line : lines)
        list.Add(line);
    ASSERT_EQ(list.size(), lines.size());

    std::vector<std::uint32_t> order(lines.size());
    std::iota(order.rbegin(), order.rend(), 0u);
    std::swap(order[0], order[1]);
    list.Reorder(order);

    ASSERT_EQ(list.size(), lines.size());
    std::string scratch;
    for (std::size_t i = 0; i < order.size(); ++i)
        ASSERT_TRUE(list.LineAt(i, scratch) == lines[order[i]])
            << "line " << i << " is not the former line " << order[i];
}

// Appending keeps every line, whether the first list fills its blocks of places exactly or not, and
// lines added afterwards go on from there.
TEST(IndexList, AppendKeepsTheLinesOfBothInTheirOrder)
{
    for (const std::size_t firstCount : {std::size_t{0}, std::size_t{65536}, std::size_t{70000}}) {
        IndexList first;
        IndexList later;
        std::vector<std::string> lines;
        for (std::size_t i = 0; i < firstCount + 70000; ++i) {
            lines.push_back((i < firstCount ? "eerste " : "latere ") + std::to_string(i));
            (i < firstCount ? first : later).Add(lines.back());
        }
        first.Append(std::move(later));
        first.Add("erna");
        lines.push_back("erna");
        ASSERT_EQ(first.size(), lines.size());
        EXPECT_TRUE(std::vector<std::string>(first.begin(), first.end()) == lines) << firstCount << " lines first";
    }
}

// The list keeps values once where they pay: after its first 65,536 lines of values and rests, as
// long as no more than a fourth of them brought a new value. Either way each line reads back as added.
TEST(IndexList, KeepsValuesOnceWhereAFourthOfTheLinesOrFewerHaveANewOne)
{
    for (const auto& [different, once] : {std::pair{std::size_t{16384}, true}, std::pair{std::size_t{16385}, false}}) {
        IndexList list;
        std::vector<std::string> lines;
        for (std::size_t i = 0; i < 70000; ++i) {
            const std::string value = "Plaats " + std::to_string(i < different ? i : i % 100);
            const std::string rest = "\t[@I" + std::to_string(i) + "@]";
            list.AddValueLine(value, rest);
            lines.push_back(value + rest);
            if (i + 1 == 65535) {
                ASSERT_TRUE(list.HasValues()) << different << " values, judged early";
            }
        }
        EXPECT_EQ(list.HasValues(), once) << different << " values";
        EXPECT_TRUE(std::vector<std::string>(list.begin(), list.end()) == lines) << different << " values";
    }
}

// Lines of values and rests read back as they were added: with values new to the list it is
// appended to (whose text needs new blocks), with a list that keeps its lines whole on either side,
// and with lines added after the list was put in order.
TEST(IndexList, ValueLinesReadBackAsAdded)
{
    enum class Whole
    {
        Neither,
        First,
        Later
    };
    for (const Whole whole : {Whole::Neither, Whole::First, Whole::Later}) {
        IndexList first;
        IndexList later;
        std::vector<std::string> firstLines;
        std::vector<std::string> laterLines;
        const auto add = [&](bool toFirst, const std::string& value, const std::string& rest) {
            (toFirst ? first : later).AddValueLine(value, rest);
            (toFirst ? firstLines : laterLines).push_back(value + rest);
        };
        // A list kept whole: its first lines mostly have values of their own.
        for (std::size_t i = 0; whole != Whole::Neither && i < 65536; ++i)
            add(whole == Whole::First, "Plaats " + std::to_string(i), "\t[]");
        for (std::size_t i = 0; i < 6000; ++i) {
            // Long values, the later list bringing 500 new ones, and a record's rest on three lines in a row.
            const std::size_t number = i < 3000 ? i % 1000 : i % 1500;
            const std::string value = std::string(2000, static_cast<char>('a' + number % 26)) + std::to_string(number);
            add(i < 3000, value, "\t[@I" + std::to_string(i / 3) + "@]");
        }
        ASSERT_EQ(first.HasValues(), whole != Whole::First);
        ASSERT_EQ(later.HasValues(), whole != Whole::Later);
        std::vector<std::string> lines = firstLines;
        lines.insert(lines.end(), laterLines.begin(), laterLines.end());
        first.Append(std::move(later));
        ASSERT_TRUE(std::vector<std::string>(first.begin(), first.end()) == lines) << static_cast<int>(whole);

        std::vector<std::uint32_t> order(lines.size());
        std::iota(order.rbegin(), order.rend(), 0u);
        first.Reorder(order);
        first.AddValueLine("erna", "\t[@I0@]");
        std::reverse(lines.begin(), lines.end());
        lines.push_back("erna\t[@I0@]");
        EXPECT_TRUE(std::vector<std::string>(first.begin(), first.end()) == lines) << static_cast<int>(whole);
    }
}

} // namespace
} // namespace stambrix::index
