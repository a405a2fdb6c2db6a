#include "cli/query_mode.h"

#include "cli/console.h"
#include "cli/exit_status.h"
#include "cli/messages.h"
#include "cli/output_writer.h"
#include "serial/system_line.h"

namespace vardelmo::cli {

int queryStatus(const Exchange& exchange, CommandLine::Output output) {
    if (exchange.failure) {
        // Also when a reply was read before the closing failed: a script must not take a reply
        // from a request that failed.
        return kFailed;
    }
    if (exchange.silent()) {
        return kNoReply;
    }
    if (output == CommandLine::Output::Reading && !exchange.decoded.reading) {
        return kNotUnderstood;
    }
    return kSucceeded;
}

Exchange exchangeOf(const CommandLine& command, const query::Outcome& outcome) {
    return exchangeOf(command.fields.portText, command.fields.configText, command.fields.waitText,
                      command.request, outcome);
}

int runQuery(const CommandLine& command) {
    query::FieldTexts fields = command.fields;
    const auto line = serial::makeSystemLine();
    const Exchange exchange = exchangeOf(
        command, query::runWeightRequest(fields, *line, query::sleepFor, command.request));
    reportOnError(exchange, consoleStreams());
    const auto writer = makeOutputWriter(command.output);
    writer->request(exchange);
    if (!writer->written()) {
        writeErrorLine(unwrittenLine());
        return kFailed;
    }
    return queryStatus(exchange, command.output);
}

}  // namespace vardelmo::cli
