#pragma once

#include <string_view>

namespace vardelmo::cli {

// The program's only writers to its standard streams. A platform where a
// windowed program must first attach to its console changes only these.

// Writes the bytes unchanged; false when they could not all be written.
bool writeOutput(std::string_view bytes);

// Writes one line to standard error, adding the newline.
void writeErrorLine(std::string_view line);

}  // namespace vardelmo::cli
