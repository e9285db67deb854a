#include "fuzz/index_choices.h"
#include "gedcom/byte_source.h"
#include "gedcom/gedcom_reader.h"
#include "names/prefix_table.h"
#include "progress/progress_throttle.h"
#include "run/read_sorted_index.h"
#include "run/run_choices.h"
#include "run/run_index.h"
#include "run/run_request.h"
#include "run/write_index.h"
#include "scan/scan_test_support.h"
#include "test_support/file_bytes.h"
#include "test_support/recording_progress.h"
#include "test_support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

// Inputs that once made the fuzz target fail (fuzz/regressions), run as the fuzz target runs them:
// every index kind and form, each to its end without an exception and without a temporary file
// left behind; read into the same lines with a buffer of 1 to 7 bytes as with the usual one; and
// read in two halves at once into the lines and encoding of one pass.
// The sanitizer build shows the memory faults and undefined behaviour they once caused.
namespace stambrix::run {
namespace {

namespace fs = std::filesystem;

struct Regression
{
    fs::path path;
    std::string testName;
};

void PrintTo(const Regression& regression, std::ostream* out)
{
    *out << regression.path;
}

std::vector<Regression> Regressions()
{
    std::vector<Regression> regressions;
    for (const auto& entry : fs::directory_iterator(fs::path(STAMBRIX_SOURCE_DIR) / "fuzz" / "regressions")) {
        std::string name = entry.path().stem().string();
        for (char& c : name)
            if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')))
                c = '_';
        regressions.push_back({entry.path(), name});
    }
    std::sort(regressions.begin(), regressions.end(), [](const auto& a, const auto& b) { return a.path < b.path; });
    return regressions;
}

class FuzzRegression : public ::testing::TestWithParam<Regression>
{
};

TEST_P(FuzzRegression, EveryIndexRunsToItsEnd)
{
    test_support::TempFolder folder("stambrix-fuzz-regression");
    const fs::path gedcom = folder.path() / "stamboom.ged";
    fs::copy_file(GetParam().path, gedcom);
    for (const fuzz::IndexChoice& choice : fuzz::kIndexChoices) {
        run::RunRequest request;
        request.gedcomPath = gedcom.string();
        request.choices = choice;
        request.prefixes = names::DefaultPrefixes();
        test_support::RecordingProgress progress;
        test_support::RecordingMessages messages;
        const std::string kind = std::string(run::FactsOf(choice.eventKind).textFileName) + ", form " +
                                 std::to_string(static_cast<int>(choice.outputKind)) +
                                 (choice.inFrame ? " in frames" : "") + ", group " +
                                 std::to_string(static_cast<int>(choice.recordGroup));
        run::RunOutcome outcome{};
        ASSERT_NO_THROW(outcome = run::RunIndex(request, progress, messages)) << kind;
        if (outcome == run::RunOutcome::Written)
            EXPECT_TRUE(messages.messages.empty()) << kind;
        else
            EXPECT_EQ(messages.messages, std::vector<std::string>{"Er zijn geen items gevonden."}) << kind;
        for (const auto& entry : fs::directory_iterator(folder.path() / "Stambrix"))
            EXPECT_NE(entry.path().filename().string().front(), '.') << kind << ": left behind " << entry.path();
    }
}

TEST_P(FuzzRegression, TinyBuffersReadTheSameLines)
{
    const std::string bytes = test_support::ReadBytes(GetParam().path);
    const std::vector<std::string> usual = gedcom::testing::ReadLines(bytes);
    for (std::size_t bufferSize = 1; bufferSize <= 7; ++bufferSize)
        EXPECT_EQ(gedcom::testing::ReadLines(bytes, bufferSize), usual) << "buffer of " << bufferSize << " bytes";
}

TEST_P(FuzzRegression, HalvesReadAsOnePass)
{
    const std::string path = GetParam().path.string();
    for (const fuzz::IndexChoice& choice : fuzz::kTextIndexChoices) {
        run::RunRequest request;
        request.choices.eventKind = choice.eventKind;
        request.choices.recordGroup = choice.recordGroup;
        request.prefixes = names::DefaultPrefixes();
        progress::ProgressThrottle progress;
        gedcom::FileSource onePass(path);
        const scan::ScanResult whole =
            run::ReadSortedIndex(onePass, path, run::ScanChoicesOf(request), progress, "nl", UINT64_MAX);
        gedcom::FileSource cut(path);
        const scan::ScanResult halves = run::ReadSortedIndex(cut, path, run::ScanChoicesOf(request), progress, "nl", 2);
        EXPECT_EQ(halves.encoding, whole.encoding) << run::FactsOf(choice.eventKind).textFileName;
        EXPECT_EQ(std::vector<std::string>(halves.indexList.begin(), halves.indexList.end()),
                  std::vector<std::string>(whole.indexList.begin(), whole.indexList.end()))
            << run::FactsOf(choice.eventKind).textFileName;
    }
}

INSTANTIATE_TEST_SUITE_P(FuzzRegressions, FuzzRegression, ::testing::ValuesIn(Regressions()),
                         [](const ::testing::TestParamInfo<Regression>& param) { return param.param.testName; });

} // namespace
} // namespace stambrix::run
