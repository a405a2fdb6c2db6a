#pragma once

#include <termios.h>

#include <chrono>
#include <cstddef>
#include <string>

namespace vardelmo::test_support {

// Watches the input queue of a pseudo-terminal's slave without reading it.
// Bytes a scale writes reach the slave's queue a moment after its write()
// returns, so a test that reads right after an exchange waits here first
// rather than sleeping. Open it before the line under test opens the device:
// the line takes the terminal for itself.
class SlaveProbe {
public:
    explicit SlaveProbe(const std::string& path);
    ~SlaveProbe();
    SlaveProbe(const SlaveProbe&) = delete;
    SlaveProbe& operator=(const SlaveProbe&) = delete;

    bool ok() const { return fd_ >= 0; }
    // True once at least `count` bytes wait to be read.
    bool waitForQueued(std::size_t count, std::chrono::milliseconds timeout) const;
    std::size_t queued() const;
    // The terminal's control flags (c_cflag) as whoever has it open last set them.
    tcflag_t controlFlags() const;
    // Sets control flags as a program that had the terminal before might have left them.
    bool leaveControlFlags(tcflag_t flags) const;

private:
    int fd_ = -1;
};

}  // namespace vardelmo::test_support
