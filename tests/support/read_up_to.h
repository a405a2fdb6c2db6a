#pragma once

#include <chrono>
#include <cstddef>
#include <string>

#include "tests/support/patience.h"

namespace vardelmo::test_support {

// Up to `count` bytes from `fd`, as they come; fewer if it ends, fails, or the patience runs
// out first. A pipe's end and a terminal's hang-up end it alike.
std::string readUpTo(int fd, std::size_t count, std::chrono::milliseconds patience = kPatience);

}  // namespace vardelmo::test_support
