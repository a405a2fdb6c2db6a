#include "cli/query_mode.h"

#include "cli/console.h"
#include "cli/exit_status.h"
#include "cli/messages.h"
#include "cli/output_writer.h"
#include "query/read_until.h"
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

query::Outcome requestOnce(const CommandLine& command, serial::SerialLine& line,
                           query::Interruption& interruption) {
    query::FieldTexts fields = command.fields;
    if (command.until) {
        return query::runRequestUntil(
            fields, line, interruption,
            [](std::string_view bytes) { return reading::decode(bytes).reading.has_value(); },
            *command.until, std::chrono::steady_clock::now, command.request);
    }
    return query::runWeightRequest(fields, line, interruption, command.request);
}

int runQuery(const CommandLine& command) {
    const auto line = serial::makeSystemLine();
    query::Interruption never;  // -q runs to its end; a stop ends the process
    query::FieldTexts fields = command.fields;
    const Exchange exchange = exchangeOf(
        command, command.until
                     ? requestOnce(command, *line, never)
                     : query::runWeightRequest(fields, *line, query::sleepFor, command.request));
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
