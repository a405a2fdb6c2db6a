#pragma once

#include <memory>

#include "serial/serial_line.h"

namespace vardelmo::serial {

// The serial line of the system the program runs on, or the network line when the port is a
// server's address (socket://, rfc2217://). Callers know only the interface; which
// implementation drives the port is this layer's business.
std::unique_ptr<SerialLine> makeSystemLine();

}  // namespace vardelmo::serial
