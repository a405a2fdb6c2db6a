#pragma once

#include <atomic>

namespace vardelmo::serial {

// Lets another thread end the system call that a thread is blocked in: some drivers take 5 to
// 30 s to open a port (Bluetooth) or to take its settings, and closing the window must not
// wait for them. Made on the thread whose calls it ends. On Windows the call fails with
// ERROR_OPERATION_ABORTED; elsewhere the serial line's calls do not block for long. A network
// line waits in slices of its own, which no system call ends: between them it asks
// callsCancelled(), so a cancel ends its waits on either system.
class CallCanceller {
public:
    CallCanceller();
    ~CallCanceller();
    CallCanceller(const CallCanceller&) = delete;
    CallCanceller& operator=(const CallCanceller&) = delete;

    // From any thread: ends the call the thread is blocked in now, if any. A call it enters
    // afterwards is not ended: cancel again until the thread is done.
    void cancel() const;

private:
    friend bool callsCancelled();

    void* thread_ = nullptr;
    mutable std::atomic<bool> cancelled_{false};
    const CallCanceller* outer_ = nullptr;  // the one this thread had before, if any
};

// True once the canceller made last on this thread (and still alive) has been cancelled: from
// then on until it ends, a line's own waits end at once.
bool callsCancelled();

}  // namespace vardelmo::serial
