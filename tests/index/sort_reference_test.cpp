#include "index/index_sort.h"
#include "test_support/reference_order.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

// The sort of index lists against the plainest one there is (test_support::ReferenceOrder).
namespace stambrix::index {
namespace {

using charsets::TextEncoding;
using test_support::ReferenceOrder;

using Lines = std::vector<std::string>;

// Lines alike past the key bytes kept for each line, that case, accents and blanks order otherwise
// than their bytes: in a short run, and in a run longer than is given whole keys at once.
TEST(SortReference, RunsOfLinesAlikeSortAsTheReference)
{
    const std::string variants[] = {"e", "E", "\xC3\xA9", "\xC3\x89", "-", " ", "ee"};
    for (const std::size_t count : {1000, 70000}) {
        Lines lines;
        for (std::size_t i = 0; i < count; ++i)
            lines.push_back("Oud-Beijerland, Zuid-Holland, Nederland, Europa " + variants[(i * 7919) % 7] + "\t[I" +
                            std::to_string((i * 104729) % count) + "]");
        IndexList indexList;
        for (const std::string& line : lines)
            indexList.Add(line);
        SortIndexList(indexList, TextEncoding::Utf8, "nl");
        ASSERT_TRUE(Lines(indexList.begin(), indexList.end()) == ReferenceOrder(lines, TextEncoding::Utf8))
            << count << " lines";
    }
}

// Lines kept as a value and a rest, ordered from their values, against the reference: values that
// differ only in case, accents or blanks (whose lines interleave by their rests), values that begin
// other values, rests alike but for case, and lines alike; in one thread and, in a list of 100,000
// lines or more, in two. A value outside the table, and halves of which one keeps its lines whole,
// are sorted as whole lines.
TEST(SortReference, ValueLinesSortAsTheReference)
{
    const std::string values[] = {"Zoe",
                                  "Zo\xC3\xAB",
                                  "zoe",
                                  "ZOE",
                                  "Zoek",
                                  "Zoe ",
                                  "Zoe-",
                                  "",
                                  " ",
                                  "Zo",
                                  "'s-Hertogenbosch",
                                  "s-Hertogenbosch",
                                  "\xC3\x86"
                                  "beltoft",
                                  "Aebeltoft",
                                  "\xC4\xB3sselstein",
                                  "ijsselstein",
                                  "Stra\xC3\x9F"
                                  "e",
                                  "Strasse",
                                  "Nieuw-Vennep",
                                  "Nieuw Vennep",
                                  "NieuwVennep"};
    const std::string rests[] = {"\t[@I1@]", "\t[@i1@]", "\t[@I10@]", "\t[@I2@]", "\t[]", "\t[@I1 @]", "\t[@F7@]"};
    const auto linesOf = [&](std::size_t count, std::size_t from) {
        std::vector<std::pair<std::string, std::string>> parts;
        for (std::size_t i = from; i < from + count; ++i)
            parts.emplace_back(values[(i * 7919) % std::size(values)],
                               rests[(i * 104729) % std::size(rests)] + (i % 5 == 0 ? "" : std::to_string(i % 1000)));
        return parts;
    };
    const auto listOf = [](const std::vector<std::pair<std::string, std::string>>& parts, Lines& lines) {
        IndexList list;
        for (const auto& [value, rest] : parts) {
            list.AddValueLine(value, rest);
            lines.push_back(value + rest);
        }
        return list;
    };
    for (const std::size_t count : {std::size_t{5000}, std::size_t{120000}}) {
        Lines lines;
        IndexList list = listOf(linesOf(count, 0), lines);
        SortIndexList(list, TextEncoding::Utf8, "nl");
        ASSERT_TRUE(Lines(list.begin(), list.end()) == ReferenceOrder(lines, TextEncoding::Utf8)) << count << " lines";
    }
    {
        Lines lines;
        auto parts = linesOf(3000, 0);
        parts.emplace_back("\xCE\x91\xCE\xB8\xCE\xAE\xCE\xBD\xCE\xB1", "\t[@I3@]");
        IndexList list = listOf(parts, lines);
        SortIndexList(list, TextEncoding::Utf8, "nl");
        ASSERT_TRUE(Lines(list.begin(), list.end()) == ReferenceOrder(lines, TextEncoding::Utf8)) << "Greek value";
    }
    // A list whose first lines mostly bring a value of their own keeps its lines whole.
    const auto wholeOf = [&](const std::vector<std::pair<std::string, std::string>>& parts) {
        std::vector<std::pair<std::string, std::string>> mostlyNew;
        for (std::size_t i = 0; i < 65536; ++i)
            mostlyNew.emplace_back(values[i % std::size(values)] + std::to_string(i),
                                   "\t[@I" + std::to_string(i) + "@]");
        mostlyNew.insert(mostlyNew.end(), parts.begin(), parts.end());
        return mostlyNew;
    };
    for (const bool laterWhole : {false, true}) {
        Lines lines;
        IndexList first = listOf(laterWhole ? linesOf(3000, 0) : wholeOf(linesOf(3000, 0)), lines);
        IndexList later = listOf(laterWhole ? wholeOf(linesOf(3000, 3000)) : linesOf(3000, 3000), lines);
        ASSERT_NE(first.HasValues(), later.HasValues());
        CollatedLines collated(first, TextEncoding::Utf8, "nl");
        CollatedLines collatedLater(later, TextEncoding::Utf8, "nl");
        first.Append(std::move(later));
        collated.Merge(std::move(collatedLater));
        std::move(collated).ApplyTo(first);
        ASSERT_TRUE(Lines(first.begin(), first.end()) == ReferenceOrder(lines, TextEncoding::Utf8))
            << (laterWhole ? "later" : "first") << " half kept whole";
    }
}

} // namespace
} // namespace stambrix::index
