#include "query/interruption.h"

namespace vardelmo::query {

bool Interruption::waitFor(std::chrono::milliseconds wait) {
    // The deadline is taken once, so a spurious wake-up does not restart the wait.
    return waitUntil(std::chrono::steady_clock::now() + wait);
}

bool Interruption::waitUntil(std::chrono::steady_clock::time_point deadline) {
    // On the steady clock, so a wall-clock change does not stretch the wait; the predicate
    // is asked again after every wake-up, an early or spurious one included.
    std::unique_lock lock(mutex_);
    return !woken_.wait_until(lock, deadline, [this] { return interrupted_; });
}

void Interruption::interrupt() {
    {
        const std::lock_guard lock(mutex_);
        interrupted_ = true;
        if (cancel_) {
            cancel_();
        }
    }
    woken_.notify_all();
}

void Interruption::setCanceller(std::function<void()> cancel) {
    const std::lock_guard lock(mutex_);
    cancel_ = std::move(cancel);
}

bool Interruption::interrupted() const {
    const std::lock_guard lock(mutex_);
    return interrupted_;
}

}  // namespace vardelmo::query
