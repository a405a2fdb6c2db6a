#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "serial/network_address.h"
#include "serial/result.h"

namespace vardelmo::serial {

// A port is the number typed by the operator, on POSIX systems a device path used as it stands
// (USB adapters and pseudo-terminals have no number), or a serial device server's address.
using Port = std::variant<std::int16_t, std::string, NetworkAddress>;

// The operations a weight request needs from a serial line. Each may fail with
// a description that names the port and the reason.
class SerialLine {
public:
    virtual ~SerialLine() = default;

    // "baud,parity,data bits,stop bits", used by the next opening.
    virtual Result<void> setSettings(std::string_view settings) = 0;
    // The port the next opening uses.
    virtual Result<void> setPort(const Port& port) = 0;
    // Opening discards whatever input was held from before it.
    virtual Result<void> setPortOpen(bool open) = 0;
    // The bytes are handed to the system before this returns.
    virtual Result<void> setOutput(std::string_view bytes) = 0;
    // Every byte held at this moment, unchanged, in one read; empty when none arrived.
    virtual Result<std::string> getInput() = 0;
    // Blocks until input is held or `timeout` has passed, whichever comes first; true when input
    // is held. Whatever it takes from the system stays held for the next getInput().
    virtual Result<bool> waitForInput(std::chrono::milliseconds timeout) = 0;
};

}  // namespace vardelmo::serial
