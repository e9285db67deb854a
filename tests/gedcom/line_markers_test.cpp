#include "gedcom/line_markers.h"
#include "gedcom_test_support.h"
#include "test_support/file_bytes.h"
#include "text/ascii.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

// The markers found in one pass against a plain search for each marker's text.
namespace stambrix::gedcom {
namespace {

void ExpectPlainDecisions(const std::string& line)
{
    const LineMarkers markers = MarkersOf(line);
    for (std::size_t i = 0; i < kMarkerTexts.size(); ++i)
        ASSERT_EQ(markers.Has(static_cast<Marker>(i)),
                  text::FindNoCase(line, kMarkerTexts[i]) != std::string_view::npos)
            << "marker \"" << kMarkerTexts[i] << "\" in line \"" << line << "\"";
}

// Every marker in three spellings at every position of a line up to 40 bytes, among bytes that may
// begin a marker, whole and cut short by one byte.
TEST(LineMarkers, EveryMarkerAnywhereAsAPlainSearchFindsIt)
{
    const std::string filler = "1@2 11 2 @ x1 2@";
    for (const std::string_view text : kMarkerTexts) {
        std::string lower(text);
        for (char& c : lower)
            c = text::ToLowerAscii(c);
        std::string mixed(text);
        mixed.back() = text::ToLowerAscii(mixed.back());
        for (const std::string& marker : {std::string(text), lower, mixed})
            for (std::size_t at = 0; at <= 40; ++at) {
                std::string before;
                while (before.size() < at)
                    before += filler;
                before.resize(at);
                for (const std::string& line :
                     {before + marker, before + marker + filler, before + marker.substr(0, marker.size() - 1)})
                    ExpectPlainDecisions(line);
            }
    }
    for (const std::string line : {"", " ", "1", "1 ", "@", "1 NAM", "2 DAT", " PLAC", "0 @I1@ INDI\t", "1 OCCU"})
        ExpectPlainDecisions(line);
}

TEST(LineMarkers, EveryCorpusLineAsAPlainSearchFindsIt)
{
    const std::filesystem::path corpus = STAMBRIX_CORPUS_DIR;
    std::error_code error;
    if (corpus.empty() || !std::filesystem::is_directory(corpus, error))
        GTEST_SKIP() << "no GEDCOM corpus here: STAMBRIX_CORPUS_DIR is \"" STAMBRIX_CORPUS_DIR "\"";
    std::size_t lines = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus))
        for (const std::string& line : testing::ReadLines(test_support::ReadBytes(entry.path()))) {
            ExpectPlainDecisions(line);
            ++lines;
        }
    EXPECT_GT(lines, 1000u);
}

} // namespace
} // namespace stambrix::gedcom
