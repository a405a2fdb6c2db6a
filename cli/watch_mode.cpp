#include "cli/watch_mode.h"

#include <QDateTime>
#include <string>

#include "cli/console.h"
#include "cli/exit_status.h"
#include "cli/messages.h"
#include "cli/output_writer.h"
#include "cli/query_mode.h"
#include "query/watch.h"
#include "query/watch_summary.h"
#include "reading/reading.h"
#include "serial/call_canceller.h"
#include "serial/stop_request.h"
#include "serial/system_line.h"

namespace vardelmo::cli {

namespace {

using std::chrono::steady_clock;

query::Steadiness steadinessOf(const reading::Reading& r) {
    if (!r.state) {
        return query::Steadiness::Unknown;
    }
    switch (*r.state) {
        case reading::State::Stable:
            return query::Steadiness::Stable;
        case reading::State::Motion:
            return query::Steadiness::InMotion;
        case reading::State::Negative:
        case reading::State::Overload:
            break;
    }
    return query::Steadiness::Unknown;  // the frame says something else and not whether it moves
}

query::Observation observationOf(const Exchange& exchange, steady_clock::time_point start) {
    query::Observation observation;
    observation.start = start;
    observation.failed = exchange.failure.has_value();
    observation.silent = exchange.silent();
    observation.understood = !exchange.failure && exchange.decoded.reading.has_value();
    if (observation.understood) {
        observation.weight = exchange.decoded.reading->weight;
        observation.steadiness = steadinessOf(*exchange.decoded.reading);
    }
    return observation;
}

}  // namespace

int runWatch(const CommandLine& command) {
    const auto line = serial::makeSystemLine();
    query::Interruption interruption;
    // A stop also ends a driver call this thread is blocked in (an opening that takes seconds).
    const serial::CallCanceller canceller;
    interruption.setCanceller([&canceller] { canceller.cancel(); });
    const serial::StopRequests stops([&interruption] { interruption.interrupt(); });
    query::SteadyWatchClock clock;
    query::WatchSummary summary;
    std::string unit = "kg";
    const auto writer = makeOutputWriter(command.output);

    // Each line's time is its request's start, on the wall clock the operator reads.
    const QDateTime wallStart = QDateTime::currentDateTime();
    const auto steadyStart = steady_clock::now();
    const auto wallTimeOf = [&](steady_clock::time_point start) {
        return wallStart.addMSecs(
            std::chrono::duration_cast<std::chrono::milliseconds>(start - steadyStart).count());
    };

    const auto request = [&](query::Interruption& cut) { return requestOnce(command, *line, cut); };
    const auto sink = [&](const query::WatchedRequest& done) {
        const Exchange exchange = exchangeOf(command, done.outcome);
        summary.add(observationOf(exchange, done.start));
        if (exchange.decoded.reading && !exchange.failure) {
            unit = exchange.decoded.reading->unit;
        }
        writer->watched(exchange, wallTimeOf(done.start));
        if (!writer->written()) {
            // A log that loses lines is worse than a watch that stops: end it here.
            interruption.interrupt();
        }
    };

    (void)query::runWatch({command.every, command.count}, clock, request, sink, interruption);
    if (!writer->written()) {
        writeErrorLine(unwrittenLine());
    }
    const query::WatchFigures& figures = summary.figures();
    writeErrorLine(watchSummary(figures, unit));
    if (figures.failures > 0 || !writer->written()) {
        return kFailed;
    }
    return figures.silent > 0 ? kNoReply : kSucceeded;
}

}  // namespace vardelmo::cli
