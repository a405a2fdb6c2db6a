#pragma once

#include <string_view>

namespace vardelmo::vscale {

// What --help prints.
std::string_view helpText();

}  // namespace vardelmo::vscale
