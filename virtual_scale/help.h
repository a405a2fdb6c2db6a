#pragma once

#include <string_view>

namespace vardelmo::vscale {

// What --help prints, laid out for reading here; it is printed refilled to 80 columns
// (text_wrap.h), so a line may run longer.
std::string_view helpText();

}  // namespace vardelmo::vscale
