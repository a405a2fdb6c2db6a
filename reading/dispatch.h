#pragma once

#include <optional>
#include <string_view>

#include "reading/reading.h"

// The walk back from a reply's end, for the hints as for the reading.
namespace vardelmo::reading::detail {

enum class Pass {
    Marked,    // the families with marks of their own
    Unmarked,  // the rest, only where none of those fits
};

// The reply's last complete frame of a family of the pass, or none where there is none or
// the last complete frame says the scale has no reading.
std::optional<Reading> lastFrame(std::string_view bytes, Pass pass);

// Whether the reply ends in the start of a frame of a family with marks, cut short.
bool endsInPartialFrame(std::string_view bytes);

// Whether bytes with bit 7 set decode once it is cleared: seven bits and parity read as eight.
bool sevenBits(std::string_view bytes);

// What the bytes hint at when nothing decodes, no frame is cut short and bit 7 hides none.
Hint hintFor(std::string_view bytes);

}  // namespace vardelmo::reading::detail
