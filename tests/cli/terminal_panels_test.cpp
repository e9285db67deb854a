#include "cli/terminal_panels.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

namespace stambrix::cli {
namespace {

std::string Blanks(std::size_t count)
{
    return std::string(count, ' ');
}

TEST(TerminalPanels, RewritesTheLiveLineInPlaceAtEveryReport)
{
    std::ostringstream err;
    TerminalPanels panels(err, true);
    const std::vector<std::pair<std::function<void()>, std::string>> reports = {
        {[&] { panels.Reset(); }, "  regels gelezen    (dd:uu:mm:ss)    regels geschreven"},
        {[&] { panels.RecordsRead(12); }, "  gelezen : 12    (dd:uu:mm:ss)    regels geschreven"},
        {[&] { panels.EntriesWritten(9); }, "  gelezen : 12    (dd:uu:mm:ss)    geschreven : 9"},
        {[&] { panels.TimeElapsed(67'000); }, "  gelezen : 12    00:00:01:07    geschreven : 9"},
    };
    for (const auto& [report, line] : reports) {
        const std::size_t before = err.str().size();
        report();
        const std::string painted = err.str().substr(before);
        EXPECT_EQ(painted.substr(0, line.size() + 1), "\r" + line);
        EXPECT_EQ(painted.find('\n'), std::string::npos) << painted;
    }
}

TEST(TerminalPanels, ShorterRepaintBlanksOutTheRestOfTheLongerLine)
{
    std::ostringstream err;
    TerminalPanels panels(err, true);
    panels.RecordsRead(123456789);
    const std::string first = err.str();
    panels.Reset();
    const std::string second = err.str().substr(first.size());
    const std::string captions = "\r  regels gelezen    (dd:uu:mm:ss)    regels geschreven";
    ASSERT_LT(captions.size(), first.size());
    EXPECT_EQ(second, captions + Blanks(first.size() - captions.size()));
}

// The live line that shows the same texts as `finalTexts`, the three panels' texts one a line.
std::string LiveLineOf(std::string finalTexts)
{
    finalTexts.pop_back();
    for (std::size_t end = finalTexts.find('\n'); end != std::string::npos; end = finalTexts.find('\n', end))
        finalTexts.replace(end, 1, "  ");
    return finalTexts;
}

struct FinalCase
{
    const char* name;
    std::function<void(TerminalPanels&)> report;
    const char* finalTexts;
};

TEST(TerminalPanels, PrintFinalTextsPrintsTheLatestTextOfEachPanel)
{
    const std::vector<FinalCase> cases = {
        {"all panels set",
         [](TerminalPanels& panels) {
             panels.RecordsRead(2);
             panels.RecordsRead(3);
             panels.TimeElapsed(67'000);
             panels.EntriesWritten(10);
         },
         "  gelezen : 3\n  00:00:01:07\n  geschreven : 10\n"},
        {"nothing set", [](TerminalPanels&) {}, "  regels gelezen\n  (dd:uu:mm:ss)\n  regels geschreven\n"},
        {"set, then reset",
         [](TerminalPanels& panels) {
             panels.RecordsRead(4);
             panels.TimeElapsed(1000);
             panels.EntriesWritten(4);
             panels.Reset();
         },
         "  regels gelezen\n  (dd:uu:mm:ss)\n  regels geschreven\n"},
        {"nothing written",
         [](TerminalPanels& panels) {
             panels.RecordsRead(0);
             panels.TimeElapsed(0);
         },
         "  gelezen : 0\n  00:00:00:00\n  regels geschreven\n"},
    };
    for (const bool live : {false, true}) {
        for (const FinalCase& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (live ? ", live" : ", not live"));
            std::ostringstream err;
            TerminalPanels panels(err, live);
            c.report(panels);
            const std::string before = err.str();
            panels.PrintFinalTexts();
            const std::string printed = err.str().substr(before.size());
            if (!live || before.empty()) {
                EXPECT_EQ(printed, c.finalTexts);
            } else {
                EXPECT_EQ(printed, "\r" + Blanks(LiveLineOf(c.finalTexts).size()) + "\r" + c.finalTexts)
                    << "the live line is cleared first";
            }
        }
    }
}

TEST(TerminalPanels, NotLiveWritesNothingButMessagesAndFinalTexts)
{
    std::ostringstream err;
    TerminalPanels panels(err, false);
    panels.Reset();
    for (std::uint64_t i = 1; i <= 50; ++i) {
        panels.RecordsRead(i);
        panels.EntriesWritten(i);
    }
    panels.ShowMessage("Er zijn geen items gevonden.");
    panels.TimeElapsed(450'000);
    panels.ClearLine();
    panels.PrintFinalTexts();
    EXPECT_EQ(err.str(), "Er zijn geen items gevonden.\n  gelezen : 50\n  00:00:07:30\n  geschreven : 50\n");
}

TEST(TerminalPanels, ShowMessageClearsTheLiveLineFirst)
{
    std::ostringstream err;
    TerminalPanels panels(err, true);
    panels.RecordsRead(12);
    const std::string line = err.str();
    ASSERT_FALSE(line.empty());
    panels.ShowMessage("Er is geen bestand opgegeven om te openen.");
    EXPECT_EQ(err.str().substr(line.size()),
              "\r" + Blanks(line.size() - 1) + "\rEr is geen bestand opgegeven om te openen.\n");

    // With no live line shown, the message stands alone.
    const std::size_t shown = err.str().size();
    panels.ShowMessage("Er zijn geen items gevonden.");
    EXPECT_EQ(err.str().substr(shown), "Er zijn geen items gevonden.\n");
}

} // namespace
} // namespace stambrix::cli
