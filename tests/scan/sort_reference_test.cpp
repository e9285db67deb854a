#include "gedcom/byte_source.h"
#include "names/prefix_table.h"
#include "progress/progress_throttle.h"
#include "scan/index_sort.h"
#include "scan/scan_gedcom.h"
#include "test_support/generated_gedcom.h"

#include <gtest/gtest.h>

#include <unicode/ucnv.h>
#include <unicode/ucol.h>
#include <unicode/ustring.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

// The sort against the plainest one there is: a stable sort that has the collator compare the
// decoded text of every pair of lines, equal lines then in the order of their bytes. Every index of
// every corpus file and of a generated tree must come out the same.
namespace stambrix::scan {
namespace {

using charsets::TextEncoding;

namespace fs = std::filesystem;

using Lines = std::vector<std::string>;

std::u16string Decoded(const std::string& line, TextEncoding encoding)
{
    std::u16string text(line.size() + 1, u'\0');
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    if (encoding == TextEncoding::Utf8) {
        u_strFromUTF8WithSub(text.data(), static_cast<int32_t>(text.size()), &length, line.data(),
                             static_cast<int32_t>(line.size()), 0xFFFD, nullptr, &status);
    } else {
        const std::unique_ptr<UConverter, void (*)(UConverter*)> windows1252(ucnv_open("windows-1252", &status),
                                                                             ucnv_close);
        length = ucnv_toUChars(windows1252.get(), text.data(), static_cast<int32_t>(text.size()), line.data(),
                               static_cast<int32_t>(line.size()), &status);
    }
    EXPECT_TRUE(U_SUCCESS(status)) << u_errorName(status);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

Lines ReferenceOrder(const Lines& lines, TextEncoding encoding)
{
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UCollator, void (*)(UCollator*)> collator(ucol_open("nl", &status), ucol_close);
    ucol_setStrength(collator.get(), UCOL_SECONDARY);
    ucol_setAttribute(collator.get(), UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
    EXPECT_TRUE(U_SUCCESS(status)) << u_errorName(status);
    std::vector<std::u16string> texts;
    for (const std::string& line : lines)
        texts.push_back(Decoded(line, encoding));
    std::vector<std::size_t> order(lines.size());
    std::iota(order.begin(), order.end(), 0u);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const UCollationResult result =
            ucol_strcoll(collator.get(), texts[a].data(), static_cast<int32_t>(texts[a].size()), texts[b].data(),
                         static_cast<int32_t>(texts[b].size()));
        return result == UCOL_LESS || (result == UCOL_EQUAL && lines[a] < lines[b]);
    });
    Lines ordered;
    for (const std::size_t i : order)
        ordered.push_back(lines[i]);
    return ordered;
}

// Every index one source gives (names in both forms, occupations, places) sorts as the reference does.
void ExpectReferenceOrder(const std::string& name, auto makeSource)
{
    const names::PrefixTable prefixes = names::DefaultPrefixes();
    const ScanChoices choices[] = {{EventKind::Naam, RecordGroup::Personen, names::NameForm::Full, prefixes},
                                   {EventKind::Naam, RecordGroup::Personen, names::NameForm::FamilyName, prefixes},
                                   {EventKind::Beroepen, RecordGroup::Personen, names::NameForm::Full, prefixes},
                                   {EventKind::Plaatsen, RecordGroup::Beiden, names::NameForm::Full, prefixes}};
    for (const ScanChoices& choice : choices) {
        auto source = makeSource();
        progress::ProgressThrottle progress;
        ScanResult scanned = ScanGedcom(*source, choice, progress);
        const Lines lines(scanned.indexList.begin(), scanned.indexList.end());
        SortIndexList(scanned.indexList, scanned.encoding, "nl");
        ASSERT_TRUE(Lines(scanned.indexList.begin(), scanned.indexList.end()) ==
                    ReferenceOrder(lines, scanned.encoding))
            << name << ", event kind " << static_cast<int>(choice.eventKind) << ", name form "
            << static_cast<int>(choice.nameForm);
    }
}

TEST(SortReference, EveryCorpusFileSortsAsTheReference)
{
    const fs::path folder = STAMBRIX_CORPUS_DIR;
    std::error_code error;
    if (folder.empty() || !fs::is_directory(folder, error))
        GTEST_SKIP() << "no GEDCOM corpus here: STAMBRIX_CORPUS_DIR is \"" STAMBRIX_CORPUS_DIR "\"";
    for (const auto& entry : fs::directory_iterator(folder)) {
        std::string extension = entry.path().extension().string();
        std::transform(extension.begin(), extension.end(), extension.begin(), [](char c) { return c | 0x20; });
        if (extension == ".ged")
            ExpectReferenceOrder(entry.path().string(),
                                 [&] { return std::make_unique<gedcom::FileSource>(entry.path().string()); });
    }
}

TEST(SortReference, GeneratedTreeSortsAsTheReference)
{
    const std::string tree = test_support::GeneratedGedcom(20000);
    ExpectReferenceOrder("generated tree", [&] { return std::make_unique<gedcom::MemorySource>(tree); });
}

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
    for (const bool laterWhole : {false, true}) {
        Lines lines;
        IndexList first = listOf(linesOf(3000, 0), lines);
        IndexList later = listOf(linesOf(3000, 3000), lines);
        (laterWhole ? later : first).KeepValueLinesWhole();
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
} // namespace stambrix::scan
