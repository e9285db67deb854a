#pragma once

#include <exception>
#include <new>
#include <system_error>
#include <thread>

namespace stambrix::text {

/// Runs `later` on a second thread while `first` runs on this one, and returns when both are done.
/// Returns false, having run neither, when no second thread can be had (out of threads or memory): the
/// caller then does the work on this thread alone. What `first` throws reaches the caller once the
/// second thread is done; otherwise what `later` threw does.
template <typename First, typename Later> bool RunOnTwoThreads(First&& first, Later&& later)
{
    std::exception_ptr laterFailure;
    std::thread second;
    try {
        second = std::thread([&later, &laterFailure] {
            try {
                later();
            } catch (...) {
                laterFailure = std::current_exception();
            }
        });
    } catch (const std::system_error&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
    try {
        first();
    } catch (...) {
        second.join();
        throw;
    }
    second.join();
    if (laterFailure)
        std::rethrow_exception(laterFailure);
    return true;
}

} // namespace stambrix::text
