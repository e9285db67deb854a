#include "gedcom/event_lines.h"

#include "gedcom/byte_source.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace stambrix::gedcom {
namespace {

using HiddenLines = std::vector<std::pair<std::string, bool>>;

// Every line EventLines gives of `bytes`, read in blocks of `bufferSize` bytes, with whether it is hidden.
HiddenLines ReadAll(std::string_view bytes, std::size_t bufferSize)
{
    MemorySource source(bytes);
    DecodedLines decoded(source, bufferSize);
    EventLines events(decoded);
    HiddenLines lines;
    for (std::string_view line; events.ReadLine(line);)
        lines.emplace_back(line, events.Hidden());
    return lines;
}

// A RESN below the event's DATE and PLAC hides all of the event, from its level-1 line on; the
// lines come as they are, every one, however the blocks fall and wherever the input ends.
TEST(EventLines, GivesEveryLineKnowingWhetherItsEventIsHidden)
{
    const std::string text = "2 DATE 1900\n0 @I1@ INDI\n1 BIRT\n2 DATE 1 JAN 1900\n2 PLAC Leiden\n"
                             "3 MAP\n2 RESN Confidential, locked\n1 DEAT\n2 PLAC Delft\n2 RESN locked\n"
                             "0 @I2@ INDI\n2 RESN privacy\n1 OCCU smid\n2 resn privacy";
    const HiddenLines expected{{"2 DATE 1900", false},
                               {"0 @I1@ INDI", false},
                               {"1 BIRT", true},
                               {"2 DATE 1 JAN 1900", true},
                               {"2 PLAC Leiden", true},
                               {"3 MAP", true},
                               {"2 RESN Confidential, locked", true},
                               {"1 DEAT", false},
                               {"2 PLAC Delft", false},
                               {"2 RESN locked", false},
                               {"0 @I2@ INDI", false},
                               {"2 RESN privacy", false},
                               {"1 OCCU smid", true},
                               {"2 resn privacy", true}};
    for (const std::size_t bufferSize : {1u, 2u, 7u, 4096u})
        EXPECT_EQ(ReadAll(text, bufferSize), expected) << "blocks of " << bufferSize;
}

} // namespace
} // namespace stambrix::gedcom
