#pragma once

#include <string>

#include "serial/platform.h"
#include "serial/result.h"
#include "serial/serial_line.h"

namespace vardelmo::serial {

// The device a port opens: "COMn" on Windows, /dev/ttyS(n-1) elsewhere (COM1 is
// ttyS0); a device path is used as it stands. A number below 1 or an empty path has
// none, and the failure says why.
Result<std::string> portDevice(const Port& port, Platform platform = hostPlatform());

// How failure texts name a port: "porta 5 (/dev/ttyS4)", or "porta /dev/ttyUSB0"
// for a path, so the operator sees both the number typed and the device behind it.
std::string portLabel(const Port& port, Platform platform = hostPlatform());

}  // namespace vardelmo::serial
