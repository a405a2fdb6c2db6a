#pragma once

#include <string>
#include <string_view>

namespace vardelmo::cli {

// A reply as a technician needs to read it: a line edit draws no control
// characters, so whether STX and ETX came is only visible spelled out.
// Control bytes are named (<STX>, <CR>, <DEL>), bytes from 0x80 up and '<'
// itself are given in hex (<E9>, <3C>) so that no reading is ambiguous:
// "<STX>01234<ETX>".
std::string spellReply(std::string_view bytes);

// The spelling followed by the byte count, as the display's tooltip shows it:
// "<STX>01234<ETX> (7 bytes)".
std::string describeReply(std::string_view bytes);

// Two lowercase hex digits a byte, separated by spaces: "02 30 31 32 33 34 03".
std::string hexReply(std::string_view bytes);

}  // namespace vardelmo::cli
