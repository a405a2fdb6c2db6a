#pragma once

#include <string>

namespace vardelmo::serial {

enum class SystemFault {
    // Throwing away unread input fails with EIO, as when the device goes at that moment.
    InputNotCleared,
    // A wait for the device to take more output ends at once, as the line's own limit would in
    // the end: the device's fullness is real, only the clock is shortened.
    WaitToWriteEndsAtOnce,
};

// While in scope, the system answers the line's calls on `device` as a failing device would.
// This program defines those C library calls itself and passes every other call on to the C
// library, so the tool's line and QSerialPort run unchanged: only what the system answers
// is the test's. One at a time.
class InjectedFault {
public:
    InjectedFault(SystemFault fault, const std::string& device);
    ~InjectedFault();
    InjectedFault(const InjectedFault&) = delete;
    InjectedFault& operator=(const InjectedFault&) = delete;

    // How many calls it answered so far: a test tells from it that the fault was met.
    int hits() const;
};

}  // namespace vardelmo::serial
