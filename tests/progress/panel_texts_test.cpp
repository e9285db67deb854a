#include "progress/panel_texts.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace stambrix::progress {
namespace {

struct TextsCase
{
    const char* reports;
    std::function<void(PanelTexts&)> report;
    std::vector<std::string> texts; ///< read, time, written
};

TEST(PanelTexts, CaptionsUntilReportedThenTwoBlanksAndTheText)
{
    const std::vector<TextsCase> cases = {
        {"nothing", [](PanelTexts&) {}, {"  regels gelezen", "  (dd:uu:mm:ss)", "  regels geschreven"}},
        {"12 read, 61.5 s, 10 written",
         [](PanelTexts& texts) {
             texts.RecordsRead(12);
             texts.TimeElapsed(61'500);
             texts.EntriesWritten(10);
         },
         {"  gelezen : 12", "  00:00:01:01", "  geschreven : 10"}},
        {"nothing found",
         [](PanelTexts& texts) {
             texts.RecordsRead(0);
             texts.TimeElapsed(999);
         },
         {"  gelezen : 0", "  00:00:00:00", "  regels geschreven"}},
        {"a note, then counts",
         [](PanelTexts& texts) {
             texts.ShowNote("wacht op een andere run in /genea/Stambrix");
             texts.RecordsRead(3);
         },
         {"  gelezen : 3", "  (dd:uu:mm:ss)", "  wacht op een andere run in /genea/Stambrix"}},
        {"reported, then reset",
         [](PanelTexts& texts) {
             texts.RecordsRead(4);
             texts.TimeElapsed(1000);
             texts.EntriesWritten(4);
             texts.Reset();
         },
         {"  regels gelezen", "  (dd:uu:mm:ss)", "  regels geschreven"}},
    };
    for (const TextsCase& c : cases) {
        PanelTexts texts;
        c.report(texts);
        EXPECT_EQ((std::vector<std::string>{texts.Read(), texts.Time(), texts.Written()}), c.texts) << c.reports;
    }
    EXPECT_EQ(ReadText(123456789), "gelezen : 123456789");
    EXPECT_EQ(WrittenText(0), "geschreven : 0");
}

} // namespace
} // namespace stambrix::progress
