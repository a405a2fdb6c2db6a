#include "tests/support/slave_probe.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <thread>

namespace vardelmo::test_support {

SlaveProbe::SlaveProbe(const std::string& path)
    : fd_(::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {}

SlaveProbe::~SlaveProbe() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

std::size_t SlaveProbe::queued() const {
    int count = 0;
    return ::ioctl(fd_, FIONREAD, &count) == 0 && count > 0 ? static_cast<std::size_t>(count) : 0;
}

tcflag_t SlaveProbe::controlFlags() const {
    termios line{};
    return ::tcgetattr(fd_, &line) == 0 ? line.c_cflag : 0;
}

bool SlaveProbe::leaveControlFlags(tcflag_t flags) const {
    termios line{};
    if (::tcgetattr(fd_, &line) != 0) {
        return false;
    }
    line.c_cflag |= flags;
    return ::tcsetattr(fd_, TCSANOW, &line) == 0;
}

bool SlaveProbe::waitForQueued(std::size_t count, std::chrono::milliseconds timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (queued() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        if (queued() == 0) {
            pollfd in{fd_, POLLIN, 0};
            if (::poll(&in, 1, static_cast<int>(left.count())) < 0) {
                return false;
            }
        } else {
            // Part of a run is queued; the rest follows within the same delivery.
            std::this_thread::yield();
        }
    }
    return true;
}

}  // namespace vardelmo::test_support
