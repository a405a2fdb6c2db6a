#include "cli/settings_finder.h"

#include <optional>
#include <string>

#include "cli/console.h"
#include "cli/exit_status.h"
#include "cli/messages.h"
#include "cli/output_writer.h"
#include "cli/reading_output.h"
#include "cli/texts.h"
#include "query/settings_search.h"
#include "reading/reading.h"
#include "serial/call_canceller.h"
#include "serial/port_list.h"
#include "serial/stop_request.h"
#include "serial/system_line.h"

namespace vardelmo::cli {

int runFind(const CommandLine& command) {
    const auto line = serial::makeSystemLine();
    query::Interruption interruption;
    // A stop also ends a driver call this thread is blocked in (an opening that takes seconds).
    const serial::CallCanceller canceller;
    interruption.setCanceller([&canceller] { canceller.cancel(); });
    const serial::StopRequests stops([&interruption] { interruption.interrupt(); });
    const auto writer = makeOutputWriter(command.output);

    const query::SearchPlan plan{command.fields.portText, command.fields.waitText, command.all,
                                 command.request};
    const auto exchangeWith = [&](std::optional<std::string> config, const query::Outcome& o) {
        return exchangeOf(plan.port, std::move(config), plan.wait, command.request, o);
    };
    std::optional<std::string> trying;  // the settings of the try under way
    const auto onStart = [&](std::string_view config) { trying = std::string(config); };
    const auto onTry = [&](const query::SearchTry& t) {
        const Exchange exchange = exchangeWith(t.config, {t.reply, std::nullopt});
        writeErrorLine(t.config + ": " + readingWithFamily(exchange.decoded));
        writer->tried(exchange, t.recognized);
    };
    const auto result = query::searchSettings(
        plan, *line, interruption,
        [](std::string_view bytes) { return reading::decode(bytes).reading.has_value(); },
        {.onStart = onStart, .onTry = onTry});

    if (result.interrupted) {
        return stops.exitStatus();
    }
    std::optional<std::string> found;
    for (const auto& t : result.tries) {
        if (t.recognized) {
            found = t.config;
            break;
        }
    }
    // The try that failed ends the search: its object too says why, as -q's would.
    if (result.failure) {
        writer->tried(exchangeWith(trying, {std::nullopt, result.failure}), false);
    }
    // No try read, but one had frames of a family the tool does not know: its settings work.
    const query::SearchTry* unknown =
        result.failure ? nullptr : query::unknownFamilyTry(result, reading::hasFrameShape);
    if (unknown != nullptr) {
        writer->searched(exchangeWith(std::nullopt, {unknown->reply, std::nullopt}),
                         unknown->config);
        writeErrorLine(unknownFamilyLine(unknown->config, unknown->reply));
        if (!writer->written()) {
            writeErrorLine(unwrittenLine());
            return kFailed;
        }
        return kNotUnderstood;
    }
    const std::optional<query::FailureReport> verdict =
        result.failure
            ? result.failure
            : (found ? std::nullopt : std::optional(query::notFoundReport(plan, result)));
    writer->searched(exchangeWith(std::nullopt, {std::nullopt, verdict}), found);
    if (verdict) {
        writeErrorLine(failureLine(*verdict));
        return kFailed;
    }
    if (!writer->written()) {
        writeErrorLine(unwrittenLine());
        return kFailed;
    }
    return kSucceeded;
}

int runList() {
    const auto ports = serial::makeSystemPortList()->ports();
    if (ports.empty()) {
        writeErrorLine("vardelmo: " + Texts::tr("no serial port is present.").toStdString());
        return kSucceeded;
    }
    std::string lines;
    for (const auto& port : ports) {
        lines += port.text + '\t' + port.description + '\n';
    }
    return writeOutput(lines) ? kSucceeded : kFailed;
}

}  // namespace vardelmo::cli
