#include "cli/terminal_panels.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace stambrix::cli {
namespace {

using namespace std::chrono_literals;
using TimePoint = std::chrono::steady_clock::time_point;

// A clock that stands still until the test moves it.
struct FakeClock
{
    TimePoint now{1h};
    TerminalPanels::Clock AsClock()
    {
        return [this] { return now; };
    }
};

std::string Blanks(std::size_t count)
{
    return std::string(count, ' ');
}

TEST(TerminalPanels, RepaintsTheLiveLineAtMostEvery100Ms)
{
    FakeClock clock;
    std::ostringstream err;
    TerminalPanels panels(err, true, clock.AsClock());
    std::vector<TimePoint> paintTimes;
    std::string read;
    std::string written;
    // Three seconds of panel changes every 7 ms, the written panel less often than the read panel.
    for (int i = 1; i <= 430; ++i) {
        const std::size_t before = err.str().size();
        clock.now += 7ms;
        read = "gelezen : " + std::to_string(i);
        panels.ShowReadStatus(read);
        if (i % 3 == 0) {
            written = "geschreven : " + std::to_string(i / 3);
            panels.ShowWrittenStatus(written);
        }
        const std::string painted = err.str().substr(before);
        if (painted.empty())
            continue;
        paintTimes.push_back(clock.now);
        SCOPED_TRACE("change " + std::to_string(i));
        EXPECT_EQ(painted.front(), '\r') << "the line is rewritten in place";
        EXPECT_EQ(painted.find('\n'), std::string::npos);
        EXPECT_NE(painted.find("  " + read + "  "), std::string::npos) << painted;
        if (!written.empty()) {
            EXPECT_NE(painted.find("  " + written), std::string::npos) << painted;
        }
    }
    ASSERT_FALSE(paintTimes.empty());
    EXPECT_EQ(paintTimes.front(), TimePoint{1h} + 7ms) << "the first change shows at once";
    for (std::size_t i = 1; i < paintTimes.size(); ++i)
        EXPECT_GE(paintTimes[i] - paintTimes[i - 1], 100ms) << "paint " << i;
    EXPECT_GE(paintTimes.size(), 28u) << "the line keeps up with a run of three seconds";
}

TEST(TerminalPanels, ShorterRepaintBlanksOutTheRestOfTheLongerLine)
{
    FakeClock clock;
    std::ostringstream err;
    TerminalPanels panels(err, true, clock.AsClock());
    panels.ShowReadStatus("gelezen : 123456789");
    const std::string first = err.str();
    clock.now += 100ms;
    panels.ShowReadStatus({});
    const std::string second = err.str().substr(first.size());
    const std::string captions = "\r  regels gelezen    (dd:uu:mm:ss)    regels geschreven";
    ASSERT_LT(captions.size(), first.size());
    EXPECT_EQ(second, captions + Blanks(first.size() - captions.size()));
}

struct FinalCase
{
    const char* name;
    std::vector<std::string> read;
    std::vector<std::string> time;
    std::vector<std::string> written;
    const char* finalTexts;
};

TEST(TerminalPanels, PrintFinalTextsPrintsTheLatestTextOfEachPanel)
{
    const std::vector<FinalCase> cases = {
        {"all panels set",
         {"gelezen : 1", "gelezen : 2", "gelezen : 3"},
         {"00:00:01:07"},
         {"geschreven : 9", "geschreven : 10"},
         "  gelezen : 3\n  00:00:01:07\n  geschreven : 10\n"},
        {"nothing set", {}, {}, {}, "  regels gelezen\n  (dd:uu:mm:ss)\n  regels geschreven\n"},
        {"set, then reset",
         {"gelezen : 4", ""},
         {"00:00:00:01", ""},
         {"geschreven : 4", ""},
         "  regels gelezen\n  (dd:uu:mm:ss)\n  regels geschreven\n"},
        {"nothing written",
         {"gelezen : 0"},
         {"00:00:00:00"},
         {},
         "  gelezen : 0\n  00:00:00:00\n  regels geschreven\n"},
    };
    for (const bool live : {false, true}) {
        for (const FinalCase& c : cases) {
            SCOPED_TRACE(std::string(c.name) + (live ? ", live" : ", not live"));
            FakeClock clock;
            std::ostringstream err;
            TerminalPanels panels(err, live, clock.AsClock());
            // The clock stands still, so only the first change can reach the live line.
            for (const std::string& text : c.read)
                panels.ShowReadStatus(text);
            for (const std::string& text : c.time)
                panels.ShowTimeStatus(text);
            for (const std::string& text : c.written)
                panels.ShowWrittenStatus(text);
            const std::string before = err.str();
            panels.PrintFinalTexts();
            const std::string printed = err.str().substr(before.size());
            if (!live || before.empty()) {
                EXPECT_EQ(printed, c.finalTexts);
            } else {
                const std::size_t width = before.size() - 1;
                EXPECT_EQ(printed, "\r" + Blanks(width) + "\r" + c.finalTexts) << "the live line is cleared first";
            }
        }
    }
}

TEST(TerminalPanels, NotLiveWritesNothingButMessagesAndFinalTexts)
{
    FakeClock clock;
    std::ostringstream err;
    TerminalPanels panels(err, false, clock.AsClock());
    for (int i = 1; i <= 50; ++i) {
        clock.now += 150ms;
        panels.ShowReadStatus("gelezen : " + std::to_string(i));
        panels.ShowWrittenStatus("geschreven : " + std::to_string(i));
    }
    panels.ShowMessage("Er zijn geen items gevonden.");
    clock.now += 1s;
    panels.ShowTimeStatus("00:00:07:30");
    panels.ClearLine();
    panels.PrintFinalTexts();
    EXPECT_EQ(err.str(), "Er zijn geen items gevonden.\n  gelezen : 50\n  00:00:07:30\n  geschreven : 50\n");
}

TEST(TerminalPanels, ShowMessageClearsTheLiveLineFirst)
{
    FakeClock clock;
    std::ostringstream err;
    TerminalPanels panels(err, true, clock.AsClock());
    panels.ShowReadStatus("gelezen : 12");
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
