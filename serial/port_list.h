#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "serial/platform.h"

namespace vardelmo::serial {

// One port present on the machine, as the operator is offered it.
struct PortEntry {
    std::string text;         // what to type into the port field
    std::string description;  // maker, product and USB ids where known; may be empty

    bool operator==(const PortEntry&) const = default;
};

// The serial ports present on the machine right now. Asked afresh each time,
// so an adapter plugged in after the start shows up.
class PortList {
public:
    virtual ~PortList() = default;
    virtual std::vector<PortEntry> ports() = 0;
};

// What the system reports of one port.
struct PortFacts {
    std::string name;      // "COM5", "ttyUSB0"
    std::string location;  // the device path on POSIX systems
    std::string maker;
    std::string product;
    std::optional<std::uint16_t> vendorId;
    std::optional<std::uint16_t> productId;
};

// The entry for a port: its number on Windows ("COM5" gives "5", as the field
// takes it), its device path elsewhere; a description such as
// "FTDI FT232R USB UART (0403:6001)".
PortEntry portEntry(const PortFacts& facts, Platform platform = hostPlatform());

// The ports of the system the program runs on.
std::unique_ptr<PortList> makeSystemPortList();

}  // namespace vardelmo::serial
