#pragma once

#include <string>
#include <vector>

#include "virtual_scale/virtual_scale.h"

namespace vardelmo::vscale {

// What the command line asks of the program.
struct CommandLine {
    Options scale;            // the scale to run; its log and onExchange are main()'s to set
    unsigned long count = 0;  // end after this many enquiries; 0: run until a signal
    bool help = false;        // print the help and end
    bool version = false;     // print the version and end
};

// The command line read, or the reason it is refused (one line, without the program's name).
struct ParsedCommandLine {
    bool ok = false;
    CommandLine commandLine;
    std::string refusal;
};

// Reads the arguments after the program's name. Not thread-safe: it uses getopt_long.
ParsedCommandLine parseCommandLine(const std::vector<std::string>& arguments);

}  // namespace vardelmo::vscale
