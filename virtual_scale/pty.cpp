#include "virtual_scale/pty.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace vardelmo::vscale {
namespace {

std::string failure(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

}  // namespace

std::optional<Pty> openPty(unsigned baud, std::string& error) {
    Pty pty;
    pty.master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (pty.master < 0) {
        error = failure("posix_openpt");
        return std::nullopt;
    }
    char name[128];
    if (grantpt(pty.master) != 0 || unlockpt(pty.master) != 0 ||
        ptsname_r(pty.master, name, sizeof name) != 0) {
        error = failure("preparing the pseudo-terminal");
        closePty(pty);
        return std::nullopt;
    }
    pty.path = name;
    pty.slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios line{};
    if (pty.slave < 0 || tcgetattr(pty.slave, &line) != 0) {
        error = failure(pty.path.c_str());
        closePty(pty);
        return std::nullopt;
    }
    cfmakeraw(&line);
    line.c_cflag |= CLOCAL | CREAD;
    if (tcsetattr(pty.slave, TCSANOW, &line) != 0 || !setSpeed(pty.slave, baud)) {
        error = failure("making the pseudo-terminal raw");
        closePty(pty);
        return std::nullopt;
    }
    const int flags = fcntl(pty.master, F_GETFL);
    if (flags < 0 || fcntl(pty.master, F_SETFL, flags | O_NONBLOCK) != 0) {
        error = failure("fcntl");
        closePty(pty);
        return std::nullopt;
    }
    return pty;
}

void closePty(Pty& pty) {
    if (pty.master >= 0) {
        ::close(pty.master);
    }
    if (pty.slave >= 0) {
        ::close(pty.slave);
    }
    pty.master = -1;
    pty.slave = -1;
}

}  // namespace vardelmo::vscale
