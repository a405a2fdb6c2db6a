#include "cli/headless.h"

#include <string>

#include "cli/console.h"
#include "cli/reply_bytes.h"
#include "cli/version.h"
#include "query/field_texts.h"
#include "query/weight_request.h"
#include "serial/system_line.h"

namespace vardelmo::cli {

namespace {

std::string formatReply(const std::string& reply, CommandLine::Output output) {
    switch (output) {
        case CommandLine::Output::Raw:
            return reply;
        case CommandLine::Output::Hex:
            return hexReply(reply) + '\n';
        case CommandLine::Output::Spelled:
            break;
    }
    return spellReply(reply) + '\n';
}

int runQuery(const CommandLine& command) {
    query::FieldTexts fields = command.fields;
    const auto line = serial::makeSystemLine();
    const query::Outcome outcome = query::runWeightRequest(fields, *line);
    if (outcome.failure) {
        // Also when a reply was read before the closing failed: a script must not take a reply
        // from a request that failed.
        writeErrorLine(outcome.failure->title + ": " + outcome.failure->description);
        return kFailed;
    }
    if (!writeOutput(formatReply(outcome.display.value_or(std::string{}), command.output))) {
        writeErrorLine("vardelmo: could not write the reply to standard output");
        return kFailed;
    }
    return kSucceeded;
}

bool writeText(const QString& text) {
    return writeOutput(text.toStdString());
}

}  // namespace

int refuseUsage(const CommandLine& command) {
    writeErrorLine("vardelmo: " + command.usageError.toStdString());
    writeErrorLine("Try 'vardelmo --help'.");
    return kBadUsage;
}

int runHeadless(const CommandLine& command) {
    if (!command.usageError.isEmpty()) {
        return refuseUsage(command);
    }
    switch (command.mode) {
        case CommandLine::Mode::Query:
            return runQuery(command);
        case CommandLine::Mode::Help:
            return writeText(helpText()) ? kSucceeded : kFailed;
        case CommandLine::Mode::Version:
            return writeOutput(std::string("vardelmo ") + kVersion + '\n') ? kSucceeded : kFailed;
        case CommandLine::Mode::Window:
            break;
    }
    return kBadUsage;  // the window is not ours to open
}

}  // namespace vardelmo::cli
