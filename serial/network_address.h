#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "serial/result.h"

namespace vardelmo::serial {

// How the bytes travel to a scale behind a serial device server.
enum class NetworkScheme {
    Socket,   // socket://  raw TCP: the bytes as they are, the server's own line settings
    Rfc2217,  // rfc2217:// Telnet with the COM-PORT-OPTION: the line settings set on the server
};

struct NetworkAddress {
    NetworkScheme scheme = NetworkScheme::Socket;
    std::string host;  // a name, an IPv4 address, or an IPv6 address without its brackets
    std::uint16_t port = 0;

    friend bool operator==(const NetworkAddress&, const NetworkAddress&) = default;
};

// True when the text starts with "socket://" or "rfc2217://" (in any case): it names a network
// port, well formed or not, and is read by parseNetworkAddress alone.
bool namesNetworkPort(std::string_view text);
// The scheme the text starts with, if any.
std::optional<NetworkScheme> networkSchemeOf(std::string_view text);

// Reads "socket://HOST:PORT" or "rfc2217://HOST:PORT": HOST a name, a dotted IPv4 address or an
// IPv6 address in brackets; PORT 1-65535 in plain digits; nothing before or after. Refusals name
// the part that is wrong. Nothing is looked up: a name that is well formed is taken.
Result<NetworkAddress> parseNetworkAddress(std::string_view text);

// The address as the operator types it, the scheme in lower case: "rfc2217://[::1]:2217".
std::string addressText(const NetworkAddress& address);

}  // namespace vardelmo::serial
