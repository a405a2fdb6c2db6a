#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vardelmo::vscale {

// Refills a text laid out as the help is, so that no line is longer than `width` where a
// word allows: paragraphs of plain lines, and items whose label stands before their
// description ("  -d, --delay MS      milliseconds from..."), the description's lines hanging
// under it, indented two more than its start. A paragraph ends at a blank line, at a line
// that ends in ':', before a line that starts an item, where the indent changes otherwise
// than into an item's hanging lines, and after a line that ended early (short enough that
// the next line's first word would have fitted on it, by the width the text was laid out at,
// `laidOutAt`), or, indented, after a sentence's end. Runs of two or more spaces inside a
// line are kept as they are; single spaces are where lines may break.
std::string refill(std::string_view text, std::size_t width, std::size_t laidOutAt = 88);

}  // namespace vardelmo::vscale
