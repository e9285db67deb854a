#include "index/index_sort.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace stambrix::index {
namespace {

using charsets::TextEncoding;
using Lines = std::vector<std::string>;

IndexList ListOf(const Lines& lines)
{
    IndexList list;
    for (const std::string& line : lines)
        list.Add(line);
    return list;
}

Lines Sorted(const Lines& lines, TextEncoding encoding = TextEncoding::Windows1252)
{
    IndexList list = ListOf(lines);
    SortIndexList(list, encoding, "nl");
    return {list.begin(), list.end()};
}

TEST(SortIndexList, CaseIsIgnoredAccentsAndBlanksCount)
{
    // "berg" and "Berg" collate equal, so their bytes decide; "é" comes after "e"; a blank comes
    // before every letter, so "de Wit" goes before "Dewis".
    EXPECT_EQ(Sorted({"Dewis, Piet", "berg, Jan", "Bérg, Jan", "de Wit, Kees", "Berg, Jan", "Berg, Piet"},
                     TextEncoding::Utf8),
              (Lines{"Berg, Jan", "berg, Jan", "Bérg, Jan", "Berg, Piet", "de Wit, Kees", "Dewis, Piet"}));
}

TEST(SortIndexList, LinesAlikeFarIntoTheirTextAreOrderedByWhereTheyDiffer)
{
    const std::string name = "Oosterhuis-Vanderveen, Cornelis Adriaan Johannes Petrus Hendrikus";
    EXPECT_EQ(Sorted({name + "\t* 1850\tman\t[@I2@]", name + "\t* 1850\tman\t[@I1@]", name + "\t* 1849\tman\t[@I9@]"}),
              (Lines{name + "\t* 1849\tman\t[@I9@]", name + "\t* 1850\tman\t[@I1@]", name + "\t* 1850\tman\t[@I2@]"}));
    // An accent counts only where every letter after it is the same; case counts only in the bytes.
    const std::string accented = "Oosterhuis-Vanderveen, Cornelis Adriaan Johannes Petrus Hendrikus André";
    const std::string plain = "Oosterhuis-Vanderveen, Cornelis Adriaan Johannes Petrus Hendrikus Andre";
    EXPECT_EQ(Sorted({accented + "\t[@I1@]", plain + "\t[@I2@]", plain + "\t[@I1@]"}, TextEncoding::Utf8),
              (Lines{plain + "\t[@I1@]", accented + "\t[@I1@]", plain + "\t[@I2@]"}));
    EXPECT_EQ(Sorted({accented + "\t[@I1@]", plain + "\t[@I1@]",
                      "OOSTERHUIS-VANDERVEEN, CORNELIS ADRIAAN JOHANNES PETRUS HENDRIKUS ANDRE\t[@I1@]"},
                     TextEncoding::Utf8),
              (Lines{"OOSTERHUIS-VANDERVEEN, CORNELIS ADRIAAN JOHANNES PETRUS HENDRIKUS ANDRE\t[@I1@]",
                     plain + "\t[@I1@]", accented + "\t[@I1@]"}));
}

TEST(SortIndexList, BytesAreReadInTheEncodingOfTheFile)
{
    // "Š" is byte 0x8A in windows-1252 and two bytes in UTF-8; either way it goes with "S".
    EXPECT_EQ(Sorted({"Sz", "\x8Aimon", "Simon", "Sa"}), (Lines{"Sa", "Simon", "\x8Aimon", "Sz"}));
    EXPECT_EQ(Sorted({"Sz", "\xC5\xA0imon", "Simon", "Sa"}, TextEncoding::Utf8),
              (Lines{"Sa", "Simon", "\xC5\xA0imon", "Sz"}));
}

// Also when one half holds a character that only the collator orders (Greek delta) and the other none.
TEST(CollatedLines, MergedHalvesGiveTheOrderOfTheWhole)
{
    const std::string delta = "\xCE\x94";
    for (const auto& [first, later] :
         {std::pair<Lines, Lines>{{"Visser, Jan", "berg, Jan", "Zwart, Piet", "Aarts, Kees"},
                                  {"Berg, Jan", "Aarts, Kees", "Mulder, Anna"}},
          {{"Visser, Jan", "berg, Jan", "Zwart, Piet", "Aarts, Kees"},
           {"Berg, Jan", "Aarts, Kees", "Mulder, " + delta}},
          {{"Visser, " + delta, "berg, Jan", "Zwart, Piet", "Aarts, Kees"},
           {"Berg, Jan", "Aarts, Kees", "Mulder, Anna"}}}) {
        IndexList combined = ListOf(first);
        IndexList laterList = ListOf(later);
        CollatedLines collated(combined, TextEncoding::Utf8, "nl");
        CollatedLines laterCollated(laterList, TextEncoding::Utf8, "nl");
        combined.Append(std::move(laterList));
        collated.Merge(std::move(laterCollated));
        std::move(collated).ApplyTo(combined);
        Lines whole = first;
        whole.insert(whole.end(), later.begin(), later.end());
        IndexList wholeList = ListOf(whole);
        SortIndexList(wholeList, TextEncoding::Utf8, "nl");
        EXPECT_EQ(Lines(combined.begin(), combined.end()), Lines(wholeList.begin(), wholeList.end()));
    }
}

} // namespace
} // namespace stambrix::index
