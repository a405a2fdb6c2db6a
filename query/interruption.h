#pragma once

#include <chrono>
#include <condition_variable>
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
    void interrupt();
    bool interrupted() const;

private:
    mutable std::mutex mutex_;
    std::condition_variable woken_;
    bool interrupted_ = false;
};

}  // namespace vardelmo::query
