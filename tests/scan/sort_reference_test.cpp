#include "gedcom/byte_source.h"
#include "index/index_sort.h"
#include "names/prefix_table.h"
#include "progress/progress_throttle.h"
#include "scan/scan_gedcom.h"
#include "test_support/generated_gedcom.h"
#include "test_support/reference_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

// The sort of scanned indexes against the plainest one there is (test_support::ReferenceOrder): every
// index of every corpus file and of a generated tree must come out the same.
namespace stambrix::scan {
namespace {

using test_support::ReferenceOrder;

namespace fs = std::filesystem;

using Lines = std::vector<std::string>;

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
        index::SortIndexList(scanned.indexList, scanned.encoding, "nl");
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

} // namespace
} // namespace stambrix::scan
