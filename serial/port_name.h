#pragma once

#include <optional>
#include <string>

#include "serial/platform.h"
#include "serial/serial_line.h"

namespace vardelmo::serial {

// The device a port opens: "COMn" on Windows, /dev/ttyS(n-1) elsewhere (COM1 is
// ttyS0); a device path is used as it stands. Empty when the number is below 1.
std::optional<std::string> portDevice(const Port& port, Platform platform = hostPlatform());

// How failure texts name a port: "porta 5 (/dev/ttyS4)", or "porta /dev/ttyUSB0"
// for a path, so the operator sees both the number typed and the device behind it.
std::string portLabel(const Port& port, Platform platform = hostPlatform());

// Why a port has no device, e.g. for port 0.
std::string noDeviceDescription(const Port& port);

}  // namespace vardelmo::serial
