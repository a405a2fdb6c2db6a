#pragma once

// The requests of the command line table (command_line_cases.h): --request spelled as a reply
// is, or refused before anything is sent.
#include <vector>

#include "tests/cli/command_line_cases.h"

namespace vardelmo::cli::cases {

inline std::vector<Case> requestCases() {
    return {
        Case{.name = "RequestWithoutARequestMode",
             .arguments = {"--request", "P"},
             .usageError = "--request needs --query, --watch or --find."},
        Case{.name = "RequestThatSpellsNoBytes",
             .arguments = {"-q", "--request", "<ENQ"},
             .mode = Mode::Query,
             .usageError = "--request '<ENQ' does not spell bytes: a '<' opens no name (write "
                           "'<' itself as <3C>)."},
        Case{.name = "RequestWithAnUnknownName",
             .arguments = {"--watch", "--request", "<ENQ><XYZ>"},
             .mode = Mode::Watch,
             .usageError = "--request '<ENQ><XYZ>' does not spell bytes: <XYZ> names no byte."},
        Case{.name = "RequestSpelled",
             .arguments = {"--find", "--request", "<ENQ>D05"},
             .mode = Mode::Find,
             .wait = "600",
             .request = "\x05"
                        "D05"},
        Case{.name = "RequestALetter",
             .arguments = {"-q", "--request=P"},
             .mode = Mode::Query,
             .request = "P"},
        Case{.name = "RequestEmptyOnlyListens",
             .arguments = {"--watch", "--request="},
             .mode = Mode::Watch,
             .request = ""},
    };
}

}  // namespace vardelmo::cli::cases
