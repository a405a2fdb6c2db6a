#include <windows.h>

#include <atomic>
#include <mutex>

#include "serial/stop_request.h"

namespace vardelmo::serial {

namespace {

// The console calls its handlers on a thread it creates for the event, so the handler may
// call onStop directly; it only needs to find the watcher.
std::mutex current;
StopRequests::Watcher* watching = nullptr;

BOOL WINAPI onConsoleEvent(DWORD event);

}  // namespace

class StopRequests::Watcher {
public:
    explicit Watcher(std::function<void()> onStop) : onStop_(std::move(onStop)) {
        const std::lock_guard lock(current);
        watching = this;
        SetConsoleCtrlHandler(onConsoleEvent, TRUE);
    }

    ~Watcher() {
        SetConsoleCtrlHandler(onConsoleEvent, FALSE);
        const std::lock_guard lock(current);
        watching = nullptr;
    }

    int exitStatus() const { return status_.load(); }

    // False for every event after the first, so that the console's default (ending the
    // process) answers a second Ctrl-C.
    bool stop(DWORD event) {
        int expected = 0;
        // Ctrl-C and Ctrl-Break read as an interrupt, the console closing or the session
        // ending as a termination, as a POSIX shell would report them.
        const int status = event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT ? 130 : 143;
        if (!status_.compare_exchange_strong(expected, status)) {
            return false;
        }
        onStop_();
        return true;
    }

private:
    std::function<void()> onStop_;
    std::atomic<int> status_{0};
};

namespace {

BOOL WINAPI onConsoleEvent(DWORD event) {
    const std::lock_guard lock(current);
    if (watching == nullptr) {
        return FALSE;
    }
    return watching->stop(event) ? TRUE : FALSE;
}

}  // namespace

StopRequests::StopRequests(std::function<void()> onStop)
    : watcher_(std::make_unique<Watcher>(std::move(onStop))) {}

StopRequests::~StopRequests() = default;

int StopRequests::exitStatus() const {
    return watcher_->exitStatus();
}

}  // namespace vardelmo::serial
