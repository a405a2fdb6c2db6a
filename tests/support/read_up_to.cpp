#include "tests/support/read_up_to.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>

namespace vardelmo::test_support {

std::string readUpTo(int fd, std::size_t count, std::chrono::milliseconds patience) {
    std::string got;
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (fd >= 0 && got.size() < count) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd in{fd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&in, 1, static_cast<int>(left.count())) <= 0) {
            break;
        }
        char buffer[4096];
        const ssize_t n = ::read(fd, buffer, std::min(sizeof buffer, count - got.size()));
        if (n <= 0) {
            break;
        }
        got.append(buffer, static_cast<std::size_t>(n));
    }
    return got;
}

}  // namespace vardelmo::test_support
