#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vardelmo::vscale {

// Bytes written as Vardelmo spells a reply: control bytes by name in angle brackets (<STX>,
// <ENQ>, <CR>, <DEL>), any byte as two hex digits in them (<E9>, <3C> for '<' itself, <0C>
// for form feed, as <FF> is byte FF), and printable ASCII as it stands: "<STX>01234<ETX>",
// "{RW}", "<ENQ>D05". Names and hex digits may be in either case. Anything else (a '<' that
// opens no name, a name no byte has, a raw control byte, a byte above 7E) is refused, and
// `error` says which part.
std::optional<std::string> unspell(std::string_view text, std::string& error);

}  // namespace vardelmo::vscale
