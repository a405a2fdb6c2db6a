#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "serial/platform.h"
#include "serial/result.h"
#include "serial/serial_line.h"

namespace vardelmo::query {

// Both conversions are total: any bytes, however long or malformed, give a value
// or a description, never a crash or an exception.

// Removes leading and trailing spaces (0x20) only: a tab or line end is kept,
// and then makes a port text fail, rather than being quietly accepted.
std::string_view trimSpaces(std::string_view text);

// The port text, trimmed: "socket://" or "rfc2217://" starts a server's address
// (serial/network_address.h); on POSIX systems a text starting with "/" is a device
// path used as it stands; anything else must be a whole number (see
// conversions.cpp for the grammar) that fits -32768..32767.
Result<serial::Port> convertPort(std::string_view text,
                                 serial::Platform platform = serial::hostPlatform());

// The wait text, untrimmed: the number at its start in milliseconds, 0 when it
// does not start with one. A result outside 0..2147483647 is a failure.
Result<std::chrono::milliseconds> convertWait(std::string_view text);

}  // namespace vardelmo::query
