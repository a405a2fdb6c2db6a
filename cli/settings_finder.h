#pragma once

#include "cli/command_line.h"

namespace vardelmo::cli {

// --find: tries the settings scales use on the port until one gives a reading. Each try is a
// line on standard error; the settings found go to standard output, or with --json one object
// a try. Needs a QCoreApplication, never a display.
int runFind(const CommandLine& command);

// --list: the ports present, what to type and a tab and what it is, one a line.
int runList();

}  // namespace vardelmo::cli
