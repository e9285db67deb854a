#include "fuzz/pipeline_input.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <string>
#include <string_view>

// How the pipeline fuzz target reads an input: the way of indexing from the last byte, and from the
// 22 highest last bytes a file grown by a repeated piece, up to values over a megabyte.
namespace stambrix::fuzz {
namespace {

constexpr std::size_t kMegabyte = 1 << 20;

// The byte that chooses `choice`: its place among the ways of indexing.
std::string MarkOf(const IndexChoice& choice)
{
    const auto* place = std::find(std::begin(kIndexChoices), std::end(kIndexChoices), choice);
    EXPECT_NE(place, std::end(kIndexChoices));
    return std::string(1, static_cast<char>(place - std::begin(kIndexChoices)));
}

TEST(PipelineInput, LastByteChoosesTheWayOfIndexingAndIsNoPartOfTheFile)
{
    const IndexChoice occupationsChoice{run::EventKind::Beroepen, run::RecordGroup::Personen,
                                        run::OutputKind::NaarTekst, false};
    const std::string occupationsInput = "0 HEAD\r\n" + MarkOf(occupationsChoice);
    const PipelineInput occupations = ReadPipelineInput(occupationsInput);
    EXPECT_EQ(occupations.choice, occupationsChoice);
    EXPECT_EQ(occupations.gedcom, "0 HEAD\r\n");

    const IndexChoice framedChoice{run::EventKind::Naam, run::RecordGroup::Personen, run::OutputKind::Familienamen,
                                   true};
    EXPECT_EQ(ReadPipelineInput("0 HEAD\r\n" + MarkOf(framedChoice)).choice, framedChoice);

    const std::string highestInput = "0 HEAD\r\n" + std::string(1, static_cast<char>(kGrowMark - 1));
    const PipelineInput highestWithoutGrowth = ReadPipelineInput(highestInput);
    EXPECT_EQ(highestWithoutGrowth.gedcom, "0 HEAD\r\n");
    EXPECT_TRUE(highestWithoutGrowth.grown.empty());
}

TEST(PipelineInput, HighLastBytesRepeatAPieceUpToValuesOverAMegabyte)
{
    bool small = false;
    bool medium = false;
    bool longName = false;
    for (int person = 0; person < 60; ++person) {
        const std::string file = "0 @I" + std::to_string(person) + "@ INDI\r\n1 NAME Jan /Berg/\r\n0 TRLR\r\n";
        const PipelineInput input = ReadPipelineInput(file + "\xEA");
        ASSERT_EQ(input.gedcom.data(), input.grown.data());
        EXPECT_EQ(input.choice.eventKind, run::EventKind::Naam);
        const std::size_t added = input.grown.size() - file.size();
        ASSERT_GE(added, (4 << 10) - 32) << file;
        ASSERT_LE(added, kMegabyte + 32) << file;
        small = small || added < (64 << 10) - 32;
        medium = medium || (added >= (64 << 10) - 32 && added < kMegabyte - 32);
        const std::string_view name = input.gedcom.substr(input.gedcom.find("1 NAME "));
        longName = longName || name.find('\r') > kMegabyte;
    }
    EXPECT_TRUE(small && medium && longName);
}

} // namespace
} // namespace stambrix::fuzz
