#include "cli/settings_finder.h"

#include <QJsonObject>
#include <string>

#include "cli/console.h"
#include "cli/exit_status.h"
#include "cli/reading_output.h"
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

    bool written = true;
    const auto onTry = [&](const query::SearchTry& t) {
        const reading::Decoded decoded = reading::decode(t.reply);
        writeErrorLine(t.config + ": " + readingWithFamily(decoded));
        if (command.output == CommandLine::Output::Json) {
            QJsonObject object{{"config", QString::fromStdString(t.config)}};
            addReply(object, t.reply, decoded);
            written = writeOutput(jsonLine(object)) && written;
        } else if (t.recognized) {
            written = writeOutput(t.config + '\n') && written;
        }
    };
    const query::SearchPlan plan{command.fields.portText, command.fields.waitText, command.all};
    const auto result = query::searchSettings(
        plan, *line, interruption,
        [](std::string_view bytes) { return reading::decode(bytes).reading.has_value(); },
        {.onTry = onTry});

    if (result.interrupted) {
        return stops.exitStatus();
    }
    if (result.failure) {
        writeErrorLine(result.failure->title + ": " + result.failure->description);
        return kFailed;
    }
    if (!result.found()) {
        const query::FailureReport report = query::notFoundReport(plan, result);
        writeErrorLine(report.title + ": " + report.description);
        return kFailed;
    }
    if (!written) {
        writeErrorLine("vardelmo: could not write to standard output");
        return kFailed;
    }
    return kSucceeded;
}

int runList() {
    const auto ports = serial::makeSystemPortList()->ports();
    if (ports.empty()) {
        writeErrorLine("vardelmo: no serial port is present.");
        return kSucceeded;
    }
    std::string lines;
    for (const auto& port : ports) {
        lines += port.text + '\t' + port.description + '\n';
    }
    return writeOutput(lines) ? kSucceeded : kFailed;
}

}  // namespace vardelmo::cli
