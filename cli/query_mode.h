#pragma once

#include "cli/command_line.h"
#include "cli/exchange.h"

namespace vardelmo::cli {

// --query: one request, its reply on standard output in the asked form.
int runQuery(const CommandLine& command);

// --query's exit status for a request: 1 a failure, 4 silence, 3 with --reading a reply that
// does not read, else 0.
int queryStatus(const Exchange& exchange, CommandLine::Output output);

// The exchange of one request of the command line's, -q's or a watch's.
Exchange exchangeOf(const CommandLine& command, const query::Outcome& outcome);

}  // namespace vardelmo::cli
