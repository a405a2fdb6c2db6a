#pragma once

#include "cli/command_line.h"

namespace vardelmo::cli {

// --watch: one request every period, a timestamped line each on standard output as it ends,
// until the count, a stop from the system, or an output that takes no more; then the summary
// on standard error. Exit 0 when every request read a reply, 1 when any failed or a line could
// not be written, else 4: some request read nothing.
int runWatch(const CommandLine& command);

}  // namespace vardelmo::cli
