// termios2 carries the real baud in c_ospeed, also for rates that have no Bnnn constant; its
// header clashes with <termios.h>, hence a file of its own.
#include <asm/termbits.h>
#include <sys/ioctl.h>

#include <array>
#include <utility>

#include "virtual_scale/pty.h"

namespace vardelmo::vscale {
namespace {

constexpr std::array<std::pair<unsigned, unsigned>, 19> kStandard{{
    {50, B50},       {75, B75},         {110, B110},       {134, B134},       {150, B150},
    {200, B200},     {300, B300},       {600, B600},       {1200, B1200},     {1800, B1800},
    {2400, B2400},   {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
    {57600, B57600}, {115200, B115200}, {230400, B230400}, {460800, B460800},
}};

char parityLetter(unsigned cflag) {
    if ((cflag & PARENB) == 0) {
        return 'n';
    }
    if ((cflag & CMSPAR) != 0) {
        return (cflag & PARODD) != 0 ? 'm' : 's';
    }
    return (cflag & PARODD) != 0 ? 'o' : 'e';
}

unsigned dataBits(unsigned cflag) {
    switch (cflag & CSIZE) {
        case CS5:
            return 5;
        case CS6:
            return 6;
        case CS7:
            return 7;
        default:
            return 8;
    }
}

}  // namespace

bool setSpeed(int slave, unsigned baud) {
    termios2 line{};
    if (ioctl(slave, TCGETS2, &line) != 0) {
        return false;
    }
    // A standard rate keeps its Bnnn code so that clients reading cfgetospeed() see it.
    unsigned code = BOTHER;
    for (const auto& [rate, known] : kStandard) {
        if (rate == baud) {
            code = known;
        }
    }
    line.c_cflag &= ~static_cast<tcflag_t>(CBAUD | CIBAUD);  // input speed follows output
    line.c_cflag |= code;
    line.c_ispeed = baud;
    line.c_ospeed = baud;
    return ioctl(slave, TCSETS2, &line) == 0;
}

std::optional<ClientLine> readClientLine(int slave) {
    termios2 line{};
    if (ioctl(slave, TCGETS2, &line) != 0) {
        return std::nullopt;
    }
    ClientLine client;
    client.baud = line.c_ospeed;
    client.text = std::to_string(client.baud) + ',' + parityLetter(line.c_cflag) + ',' +
                  std::to_string(dataBits(line.c_cflag)) + ',' +
                  ((line.c_cflag & CSTOPB) != 0 ? "2" : "1");
    client.seen = LineSettings{client.baud, 'n', 8, (line.c_cflag & CSTOPB) != 0 ? 2.0 : 1.0};
    return client;
}

}  // namespace vardelmo::vscale
