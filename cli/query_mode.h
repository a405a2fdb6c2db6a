#pragma once

#include "cli/command_line.h"
#include "cli/exchange.h"
#include "query/interruption.h"
#include "serial/serial_line.h"

namespace vardelmo::cli {

// --query: one request, its reply on standard output in the asked form.
int runQuery(const CommandLine& command);

// --query's exit status for a request: 1 a failure, 4 silence, 3 with --reading a reply that
// does not read, else 0.
int queryStatus(const Exchange& exchange, CommandLine::Output output);

// One request of the command line's, -q's or a watch's: with the fixed wait, or with --until
// read until the reply reads or the bound passes.
query::Outcome requestOnce(const CommandLine& command, serial::SerialLine& line,
                           query::Interruption& interruption);

// The exchange of one request of the command line's, -q's or a watch's.
Exchange exchangeOf(const CommandLine& command, const query::Outcome& outcome);

}  // namespace vardelmo::cli
