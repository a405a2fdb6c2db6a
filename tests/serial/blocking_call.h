#pragma once

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "tests/support/patience.h"

namespace vardelmo::serial {

// A call that blocks until it is cancelled: a read of a pipe nobody writes to, until a
// watchdog writes to it after the test's patience.
class BlockingCall {
public:
    BlockingCall() { ok_ = CreatePipe(&readEnd_, &writeEnd_, nullptr, 0) != FALSE; }
    ~BlockingCall() {
        {
            const std::lock_guard lock(mutex_);
            finished_ = true;
        }
        changed_.notify_all();
        if (watchdog_.joinable()) {
            watchdog_.join();
        }
        CloseHandle(readEnd_);
        CloseHandle(writeEnd_);
    }
    bool ok() const { return ok_; }

    // Blocks; the error it ended with, 0 when the watchdog had to end it.
    DWORD run() {
        {
            const std::lock_guard lock(mutex_);
            entered_ = true;
            watchdog_ = std::thread([this] {
                std::unique_lock watching(mutex_);
                if (!changed_.wait_for(watching, test_support::kPatience,
                                       [this] { return finished_; })) {
                    DWORD written = 0;
                    WriteFile(writeEnd_, "x", 1, &written, nullptr);
                }
            });
        }
        changed_.notify_all();
        char one = 0;
        DWORD read = 0;
        const DWORD error = ReadFile(readEnd_, &one, 1, &read, nullptr) ? 0 : GetLastError();
        const std::lock_guard lock(mutex_);
        returned_ = true;
        return error;
    }
    bool ended() {
        const std::lock_guard lock(mutex_);
        return returned_;
    }
    bool waitUntilEntered() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, test_support::kPatience, [this] { return entered_; });
    }

private:
    HANDLE readEnd_ = nullptr;
    HANDLE writeEnd_ = nullptr;
    bool ok_ = false;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool entered_ = false;
    bool returned_ = false;
    bool finished_ = false;
    std::thread watchdog_;
};

}  // namespace vardelmo::serial
