#pragma once

#include "cli/command_line.h"

namespace vardelmo::cli {

// --watch: one request every period, a timestamped line each on standard output as it ends,
// until the count or a stop from the system; then the summary on standard error. Exit 0 when
// every request succeeded, 1 when any failed.
int runWatch(const CommandLine& command);

}  // namespace vardelmo::cli
