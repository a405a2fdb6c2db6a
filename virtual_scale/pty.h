#pragma once

#include <optional>
#include <string>

#include "virtual_scale/line_settings.h"

namespace vardelmo::vscale {

struct Pty {
    int master = -1;  // non-blocking
    int slave = -1;   // kept open so the master never sees EIO when a client closes
    std::string path;
};

// Opens a pseudo-terminal pair and makes the slave raw at `baud` before returning, so no
// client can open it cooked. On failure closes what it opened and says why in `error`.
std::optional<Pty> openPty(unsigned baud, std::string& error);
void closePty(Pty& pty);

// The line a client has set on the port, as the slave's termios holds it.
struct ClientLine {
    unsigned baud = 0;
    std::string text;  // "9600,n,8,1"
    // What the client's UART would be: its baud and stop bits, 8 data bits and no parity,
    // as a pseudo-terminal keeps no other data bits or parity.
    LineSettings seen;
};
std::optional<ClientLine> readClientLine(int slave);

// Sets the slave's speed, any whole baud (non-standard ones through termios2).
bool setSpeed(int slave, unsigned baud);

}  // namespace vardelmo::vscale
