#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vardelmo::cli {

// A reply as a technician needs to read it: a line edit draws no control
// characters, so whether STX and ETX came is only visible spelled out.
// Control bytes are named (<STX>, <CR>, <DEL>), bytes from 0x80 up and '<'
// itself are given in hex (<E9>, <3C>) so that no reading is ambiguous:
// "<STX>01234<ETX>". Form feed is given in hex too (<0C>): its name, FF, is
// also the hex of byte 0xFF, which a reply at a wrong baud often holds.
std::string spellReply(std::string_view bytes);

// The bytes a text spells the way spellReply writes them, for a request typed on the
// command line ("<ENQ>", "P", "{RW}", "<ENQ>D05"): a byte's name or two hex digits between
// angle brackets (in either case), or printable ASCII as it stands. Nothing for a text that
// spells no bytes (a '<' that opens no name, an unknown name, a raw control byte or a byte
// above 7E); `error` then says which part.
std::optional<std::string> unspellReply(std::string_view text, std::string& error);

// The spelling followed by the byte count, as the display's tooltip shows it:
// "<STX>01234<ETX> (7 bytes)".
std::string describeReply(std::string_view bytes);

// Two lowercase hex digits a byte, separated by spaces: "02 30 31 32 33 34 03".
std::string hexReply(std::string_view bytes);

}  // namespace vardelmo::cli
