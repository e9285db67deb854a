#include "progress/elapsed_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace stambrix::progress {
namespace {

struct TextCase
{
    const char* call;
    std::string actual;
    const char* expected;
};

TEST(ElapsedText, GivesDaysHoursMinutesSecondsInTwoDigitsByZeroPad)
{
    const std::vector<TextCase> cases = {
        {"ElapsedText(0)", ElapsedText(0), "00:00:00:00"},
        {"ElapsedText(999)", ElapsedText(999), "00:00:00:00"},
        {"ElapsedText(61500)", ElapsedText(61'500), "00:00:01:01"},
        {"ElapsedText(86399999)", ElapsedText(86'399'999), "00:23:59:59"},
        {"ElapsedText(86400000)", ElapsedText(86'400'000), "01:00:00:00"},
        {"ElapsedText(90061000)", ElapsedText(90'061'000), "01:01:01:01"},
        {"ElapsedText(4294967295)", ElapsedText(4'294'967'295u), "49:17:02:47"},
        {"ZeroPad(7, 2)", ZeroPad(7, 2), "07"},
        {"ZeroPad(123, 2)", ZeroPad(123, 2), "23"},
        {"ZeroPad(0, 2)", ZeroPad(0, 2), "00"},
        {"ZeroPad(42, 2)", ZeroPad(42, 2), "42"},
    };
    for (const TextCase& c : cases)
        EXPECT_EQ(c.actual, c.expected) << c.call;
}

} // namespace
} // namespace stambrix::progress
