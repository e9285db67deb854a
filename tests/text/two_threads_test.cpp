#include "text/two_threads.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

namespace {

using stambrix::text::RunOnTwoThreads;

TEST(RunOnTwoThreads, RunsBothTheLaterOnAnotherThread)
{
    std::thread::id firstThread;
    std::thread::id laterThread;
    EXPECT_TRUE(RunOnTwoThreads([&] { firstThread = std::this_thread::get_id(); },
                                [&] { laterThread = std::this_thread::get_id(); }));
    EXPECT_EQ(firstThread, std::this_thread::get_id());
    EXPECT_NE(laterThread, std::thread::id());
    EXPECT_NE(laterThread, firstThread);
}

// Either side's failure reaches the caller, the first's before the later's, and only once both are done.
TEST(RunOnTwoThreads, CarriesTheFailureOfEitherSide)
{
    bool laterDone = false;
    EXPECT_THROW(RunOnTwoThreads([] { throw std::runtime_error("eerste"); }, [&] { laterDone = true; }),
                 std::runtime_error);
    EXPECT_TRUE(laterDone);
    EXPECT_THROW(RunOnTwoThreads([] {}, [] { throw std::length_error("tweede"); }), std::length_error);
    try {
        RunOnTwoThreads([] { throw std::runtime_error("eerste"); }, [] { throw std::length_error("tweede"); });
        FAIL() << "nothing thrown";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "eerste");
    }
}

} // namespace
