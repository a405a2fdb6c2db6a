#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>

namespace vardelmo::query {

// Lets another thread cut a running request or watch short: its wait ends at
// once, and the request closes the port and reports nothing. One interruption
// serves one request or one watch; it cannot be taken back.
class Interruption {
public:
    // Waits on the steady clock. Return false, at once, when interrupted before
    // or during the wait.
    bool waitFor(std::chrono::milliseconds wait);
    bool waitUntil(std::chrono::steady_clock::time_point deadline);
    // May be called again: each call also runs the canceller.
    void interrupt();
    bool interrupted() const;
    // Runs `cancel` at each interrupt() from now on, to end a system call the request is
    // blocked in; an empty one runs nothing. It runs on the interrupting thread, under the
    // interruption's lock, so a canceller replaced is never run again once this returns.
    void setCanceller(std::function<void()> cancel);

private:
    mutable std::mutex mutex_;
    std::condition_variable woken_;
    bool interrupted_ = false;
    std::function<void()> cancel_;
};

}  // namespace vardelmo::query
