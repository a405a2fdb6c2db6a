#pragma once

#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "tests/support/patience.h"
#include "tests/support/read_up_to.h"

// A client of the scale's terminal, as the tool is one.
namespace vardelmo::vscale::pty_client {

using test_support::kPatience;

// The port as the tool opens it: raw, at the given speed, with stale input thrown away.
inline int openClient(const std::string& path, speed_t speed = B2400) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return fd;
    }
    termios line{};
    ::tcgetattr(fd, &line);
    ::cfmakeraw(&line);
    ::cfsetispeed(&line, speed);
    ::cfsetospeed(&line, speed);
    ::tcsetattr(fd, TCSANOW, &line);
    ::tcflush(fd, TCIFLUSH);
    return fd;
}

inline bool writeAll(int fd, const std::string& bytes) {
    return ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
}

// Reads until `count` bytes have come, the line fails, or the patience runs out.
inline std::string readBytes(int fd, std::size_t count,
                             std::chrono::milliseconds patience = kPatience) {
    return test_support::readUpTo(fd, count, patience);
}

// Whether a byte is waiting right now; tests call it only when the scale has finished.
inline bool anythingWaiting(int fd) {
    pollfd in{fd, POLLIN, 0};
    return ::poll(&in, 1, 0) > 0;
}

}  // namespace vardelmo::vscale::pty_client
