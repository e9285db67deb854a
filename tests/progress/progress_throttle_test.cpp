#include "progress/progress_throttle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace stambrix::progress {
namespace {

using namespace std::chrono_literals;
using TimePoint = std::chrono::steady_clock::time_point;

// A clock that stands still until the test moves it.
struct FakeClock
{
    TimePoint now{1h};
    ProgressThrottle::Clock AsClock()
    {
        return [this] { return now; };
    }
};

// What reaches the front end, in order, with the moment it arrived.
struct Arrived final : RunProgress
{
    explicit Arrived(const FakeClock& clock) : clock_(clock) {}
    void Reset() override { Add("reset"); }
    void RecordsRead(std::uint64_t records) override { Add("read " + std::to_string(records)); }
    void EntriesWritten(std::uint64_t entries) override { Add("written " + std::to_string(entries)); }
    void TimeElapsed(std::uint32_t milliseconds) override { Add("time " + std::to_string(milliseconds)); }
    void Add(std::string report)
    {
        reports.push_back(std::move(report));
        moments.push_back(clock_.now);
    }

    std::vector<std::string> reports;
    std::vector<TimePoint> moments;

private:
    const FakeClock& clock_;
};

TEST(ProgressThrottle, PassesCountsOnAtMostEvery100Ms)
{
    FakeClock clock;
    Arrived arrived(clock);
    ProgressThrottle throttle(arrived, clock.AsClock());
    // Three seconds of a run that reads a record every 0.1 ms and writes an entry every 0.3 ms.
    for (std::uint64_t i = 1; i <= 30000; ++i) {
        clock.now += 100us;
        throttle.RecordsRead(i);
        if (i % 3 == 0)
            throttle.EntriesWritten(i / 3);
    }
    ASSERT_FALSE(arrived.reports.empty());
    EXPECT_GE(arrived.moments.front() - TimePoint{1h}, 100ms) << "nothing before the first 100 ms";
    std::size_t passings = 1;
    for (std::size_t i = 1; i < arrived.reports.size(); ++i) {
        if (arrived.moments[i] == arrived.moments[i - 1])
            continue;
        ++passings;
        EXPECT_GE(arrived.moments[i] - arrived.moments[i - 1], 100ms) << arrived.reports[i];
    }
    EXPECT_GE(passings, 25u) << "the counts keep up with a run of three seconds";
    // A passing brings the counts as they stand then: the records read by that moment, and the
    // entries written by it, the one of that very record given or not yet.
    const auto records = static_cast<std::uint64_t>((arrived.moments.back() - TimePoint{1h}) / 100us);
    EXPECT_EQ(arrived.reports.end()[-2], "read " + std::to_string(records));
    EXPECT_TRUE(arrived.reports.back() == "written " + std::to_string(records / 3) ||
                arrived.reports.back() == "written " + std::to_string((records - 1) / 3))
        << arrived.reports.back() << " after " << records << " records";
}

TEST(ProgressThrottle, FlushAndTheElapsedTimeBringTheLastCounts)
{
    FakeClock clock;
    Arrived arrived(clock);
    ProgressThrottle throttle(arrived, clock.AsClock());
    throttle.Reset();
    for (std::uint64_t i = 1; i <= 1000; ++i)
        throttle.RecordsRead(i);
    EXPECT_EQ(arrived.reports, std::vector<std::string>{"reset"}) << "the clock stands still";
    throttle.Flush();
    throttle.Flush();
    for (std::uint64_t i = 1; i <= 10; ++i)
        throttle.EntriesWritten(i);
    throttle.TimeElapsed(61500);
    EXPECT_EQ(arrived.reports, (std::vector<std::string>{"reset", "read 1000", "written 10", "time 61500"}));
}

// A count never given leaves its panel at its caption; a reset forgets what was given before it.
TEST(ProgressThrottle, PassesOnOnlyCountsGivenSinceTheReset)
{
    FakeClock clock;
    Arrived arrived(clock);
    ProgressThrottle throttle(arrived, clock.AsClock());
    throttle.RecordsRead(7);
    throttle.EntriesWritten(7);
    throttle.Reset();
    throttle.RecordsRead(0);
    throttle.TimeElapsed(5);
    EXPECT_EQ(arrived.reports, (std::vector<std::string>{"reset", "read 0", "time 5"}));
}

// The pages a second thread made are counted many lines at once: such a count is looked at at once.
TEST(ProgressThrottle, CountThatGrowsByManyAtOnceIsPassedOnWhenDue)
{
    FakeClock clock;
    Arrived arrived(clock);
    ProgressThrottle throttle(arrived, clock.AsClock());
    clock.now += 200ms;
    throttle.EntriesWritten(5000);
    clock.now += 200ms;
    throttle.EntriesWritten(5001);
    EXPECT_EQ(arrived.reports, std::vector<std::string>{"written 5000"});
}

// A cancelled run stops at its next count, on its own thread and on a thread that counts beside it; the
// counts it came to still reach the front end.
TEST(ProgressThrottle, CancelledThrowsAtTheNextCountBesideItToo)
{
    FakeClock clock;
    Arrived arrived(clock);
    Cancellation cancellation;
    ProgressThrottle throttle(arrived, cancellation, clock.AsClock());
    ProgressThrottle beside = throttle.Beside();
    throttle.RecordsRead(1);
    beside.RecordsRead(1);
    cancellation.Cancel();
    EXPECT_THROW(throttle.RecordsRead(2), RunCancelled);
    EXPECT_THROW(throttle.EntriesWritten(1), RunCancelled);
    EXPECT_THROW(beside.EntriesWritten(1), RunCancelled);
    throttle.Flush();
    EXPECT_EQ(arrived.reports, std::vector<std::string>{"read 1"});
    EXPECT_NO_THROW(ProgressThrottle(arrived, clock.AsClock()).RecordsRead(1)) << "one without a cancellation";
}

} // namespace
} // namespace stambrix::progress
