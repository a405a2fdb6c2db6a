#include "cli/query_mode.h"

#include "cli/console.h"
#include "cli/exit_status.h"
#include "cli/reading_output.h"
#include "cli/reply_bytes.h"
#include "reading/reading.h"
#include "serial/system_line.h"

namespace vardelmo::cli {

Printed printReply(const std::string& reply, const CommandLine& command) {
    switch (command.output) {
        case CommandLine::Output::Raw:
            return {reply, {}, kSucceeded};
        case CommandLine::Output::Hex:
            return {hexReply(reply) + '\n', {}, kSucceeded};
        case CommandLine::Output::Reading: {
            const reading::Decoded decoded = reading::decode(reply);
            if (decoded.reading) {
                return {reading::readingLine(*decoded.reading) + '\n', {}, kSucceeded};
            }
            std::string reason =
                "vardelmo: resposta não reconhecida (" + reading::hintText(decoded.hint) + ')';
            if (!reply.empty()) {
                reason += ": " + spellReply(reply);
            }
            return {{}, reason, kNotUnderstood};
        }
        case CommandLine::Output::Json:
            return {jsonLine(requestObject(command.fields, {reply, std::nullopt})), {}, kSucceeded};
        case CommandLine::Output::Spelled:
            break;
    }
    return {spellReply(reply) + '\n', {}, kSucceeded};
}

QJsonObject requestObject(const query::FieldTexts& fields, const query::Outcome& outcome) {
    QJsonObject object{{"port", QString::fromStdString(fields.portText)},
                       {"config", QString::fromStdString(fields.configText)},
                       {"wait", QString::fromStdString(fields.waitText)}};
    if (outcome.failure) {
        object.insert("error", QString::fromStdString(outcome.failure->description));
    } else {
        const std::string reply = outcome.display.value_or(std::string{});
        addReply(object, reply, reading::decode(reply));
    }
    return object;
}

int runQuery(const CommandLine& command) {
    query::FieldTexts fields = command.fields;
    const auto line = serial::makeSystemLine();
    const query::Outcome outcome = query::runWeightRequest(fields, *line);
    if (outcome.failure) {
        // Also when a reply was read before the closing failed: a script must not take a reply
        // from a request that failed.
        writeErrorLine(outcome.failure->title + ": " + outcome.failure->description);
        if (command.output == CommandLine::Output::Json) {
            (void)writeOutput(jsonLine(requestObject(fields, outcome)));
        }
        return kFailed;
    }
    const Printed printed = printReply(outcome.display.value_or(std::string{}), command);
    if (!printed.err.empty()) {
        writeErrorLine(printed.err);
    }
    if (!writeOutput(printed.out)) {
        writeErrorLine("vardelmo: could not write the reply to standard output");
        return kFailed;
    }
    return printed.status;
}

}  // namespace vardelmo::cli
