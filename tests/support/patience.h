#pragma once

#include <chrono>

namespace vardelmo::test_support {

// How long a test waits for an event before it gives up. A safety net only: every wait ends
// as soon as its event happens, so only a fault ever makes a test wait this long.
inline constexpr std::chrono::milliseconds kPatience{5000};

}  // namespace vardelmo::test_support
