#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "reading/reading.h"

// The walk back from a reply's end, for the hints as for the reading.
namespace vardelmo::reading::detail {

enum class Pass {
    Marked,    // the families with marks of their own
    Unmarked,  // the rest, only where none of those fits
};

// The reply's last complete frame of a family of the pass, or none where there is none or
// the last complete frame says the scale has no reading (then `saysNoReading` is set).
std::optional<Reading> lastFrame(std::string_view bytes, Pass pass, bool* saysNoReading = nullptr);

// Whether the reply ends in the start of a frame of a family with marks, cut short.
bool endsInPartialFrame(std::string_view bytes);

// Bytes with bit 7 set that may be seven bits and parity read as eight.
class SevenBits {
public:
    explicit SevenBits(std::string_view bytes);
    // Whether clearing bit 7 gives a frame of the pass.
    bool hideAFrame(Pass pass) const;

private:
    std::string cleared_;  // empty where not worth a look
};

// What the bytes hint at when nothing decodes, no frame is cut short and bit 7 hides none.
Hint hintFor(std::string_view bytes);

}  // namespace vardelmo::reading::detail
