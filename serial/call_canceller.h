#pragma once

namespace vardelmo::serial {

// Lets another thread end the system call that a thread is blocked in: some drivers take 5 to
// 30 s to open a port (Bluetooth) or to take its settings, and closing the window must not
// wait for them. Made on the thread whose calls it ends. On Windows the call fails with
// ERROR_OPERATION_ABORTED; elsewhere the line's calls do not block for long, and cancelling
// does nothing.
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
    void* thread_ = nullptr;
};

}  // namespace vardelmo::serial
