#pragma once

#include "cli/command_line.h"

namespace vardelmo::cli {

// Exit statuses of the program.
inline constexpr int kSucceeded = 0;
inline constexpr int kFailed = 1;
inline constexpr int kBadUsage = 2;

// Everything the command line may ask for except the window: a refusal, the
// help, the version, or one request whose reply goes to standard output.
// Needs a QCoreApplication and never creates a window, so it runs without a display.
int runHeadless(const CommandLine& command);

// Reports `command.usageError` and returns kBadUsage.
int refuseUsage(const CommandLine& command);

}  // namespace vardelmo::cli
