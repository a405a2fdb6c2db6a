#pragma once

#include <functional>
#include <memory>

namespace vardelmo::serial {

// The system's requests to stop a program that runs without a window: SIGINT and SIGTERM on
// POSIX; Ctrl-C, Ctrl-Break and the console closing on Windows. The first one calls `onStop`
// once, from a thread of the watcher's own, never from a signal handler, so `onStop` may lock
// and notify. From then on the system's default applies again, so a second Ctrl-C ends a
// program that does not stop by itself.
class StopRequests {
public:
    explicit StopRequests(std::function<void()> onStop);
    ~StopRequests();
    StopRequests(const StopRequests&) = delete;
    StopRequests& operator=(const StopRequests&) = delete;

    // The exit status a shell expects of a program stopped that way (130 for an interrupt,
    // 143 for a termination), or 0 while none came.
    int exitStatus() const;

    class Watcher;

private:
    std::unique_ptr<Watcher> watcher_;
};

}  // namespace vardelmo::serial
