// The fortified C library headers would define ppoll() inline, in the way of ours.
#undef _FORTIFY_SOURCE

#include "tests/serial/injected_fault.h"

#include <dlfcn.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <string>

namespace vardelmo::serial {
namespace {

constexpr int kNone = -1;
std::atomic<int> armed{kNone};
std::string armedDevice;  // written only while nothing is armed
std::atomic<int> hitCount{0};

bool isArmedDevice(int fd) {
    const std::string link = "/proc/self/fd/" + std::to_string(fd);
    char target[PATH_MAX];
    const auto size = ::readlink(link.c_str(), target, sizeof target);
    return size > 0 && armedDevice == std::string_view(target, static_cast<std::size_t>(size));
}

bool armedFor(SystemFault fault, int fd) {
    return armed.load() == static_cast<int>(fault) && isArmedDevice(fd);
}

template <class Function>
Function* next(const char* name) {
    return reinterpret_cast<Function*>(::dlsym(RTLD_NEXT, name));
}

}  // namespace

InjectedFault::InjectedFault(SystemFault fault, const std::string& device) {
    armedDevice = device;
    hitCount = 0;
    armed = static_cast<int>(fault);
}

InjectedFault::~InjectedFault() {
    armed = kNone;
}

int InjectedFault::hits() const {
    return hitCount.load();
}

}  // namespace vardelmo::serial

using vardelmo::serial::armedFor;
using vardelmo::serial::SystemFault;

extern "C" int tcflush(int fd, int queue) noexcept {
    if (queue != TCOFLUSH && armedFor(SystemFault::InputNotCleared, fd)) {
        ++vardelmo::serial::hitCount;
        errno = EIO;
        return -1;
    }
    static auto* const real = vardelmo::serial::next<int(int, int)>("tcflush");
    return real(fd, queue);
}

extern "C" int ppoll(pollfd* fds, nfds_t count, const timespec* timeout, const sigset_t* mask) {
    static const timespec now{};
    for (nfds_t i = 0; i < count; ++i) {
        if ((fds[i].events & POLLOUT) != 0 &&
            armedFor(SystemFault::WaitToWriteEndsAtOnce, fds[i].fd)) {
            ++vardelmo::serial::hitCount;
            timeout = &now;
            break;
        }
    }
    static auto* const real =
        vardelmo::serial::next<int(pollfd*, nfds_t, const timespec*, const sigset_t*)>("ppoll");
    return real(fds, count, timeout, mask);
}
