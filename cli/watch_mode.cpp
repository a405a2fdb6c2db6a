#include "cli/watch_mode.h"

#include <QDateTime>
#include <QJsonObject>
#include <string>

#include "cli/console.h"
#include "cli/exit_status.h"
#include "cli/query_mode.h"
#include "cli/reading_output.h"
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

// "1.234" as the display writes it, "1,234".
std::string withComma(std::string text) {
    if (const auto point = text.find('.'); point != std::string::npos) {
        text[point] = ',';
    }
    return text;
}

// "1 pedido", "2 pedidos".
std::string counted(std::uint64_t count, const char* one, const char* many) {
    return std::to_string(count) + ' ' + (count == 1 ? one : many);
}

std::string summaryOf(const query::WatchFigures& f, const std::string& unit) {
    std::string text = counted(f.requests, "pedido", "pedidos") + ", " +
                       counted(f.understood, "leitura", "leituras") + ", " +
                       counted(f.failures, "falha", "falhas");
    if (f.lowest && f.highest) {
        text += "; peso de " + withComma(*f.lowest) + " a " + withComma(*f.highest) + ' ' + unit;
    }
    if (f.settledAfter) {
        text += "; estabilizou em " + std::to_string(f.settledAfter->count()) + " ms";
    } else if (f.inMotionAtEnd) {
        text += "; ainda em movimento no fim";
    }
    return text + '.';
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

    // Each line's time is its request's start, on the wall clock the operator reads.
    const QDateTime wallStart = QDateTime::currentDateTime();
    const auto steadyStart = steady_clock::now();
    const auto wallTimeOf = [&](steady_clock::time_point start) {
        return wallStart.addMSecs(
            std::chrono::duration_cast<std::chrono::milliseconds>(start - steadyStart).count());
    };

    const auto request = [&](query::Interruption& cut) {
        query::FieldTexts fields = command.fields;
        return query::runWeightRequest(fields, *line, cut);
    };
    const auto sink = [&](const query::WatchedRequest& done) {
        const query::Outcome& outcome = done.outcome;
        const std::string reply = outcome.display.value_or(std::string{});
        const reading::Decoded decoded = reading::decode(reply);
        const bool understood = !outcome.failure && decoded.reading.has_value();
        query::Observation observation;
        observation.start = done.start;
        observation.failed = outcome.failure.has_value();
        observation.understood = understood;
        if (understood) {
            observation.weight = decoded.reading->weight;
            observation.steadiness = steadinessOf(*decoded.reading);
            unit = decoded.reading->unit;
        }
        summary.add(observation);

        const QDateTime at = wallTimeOf(done.start);
        if (command.output == CommandLine::Output::Json) {
            QJsonObject object = requestObject(command.fields, outcome);
            object.insert("time",
                          at.toOffsetFromUtc(at.offsetFromUtc()).toString(Qt::ISODateWithMs));
            (void)writeOutput(jsonLine(object));
            return;
        }
        std::string text = at.toString("HH:mm:ss.zzz").toStdString() + "  ";
        if (outcome.failure) {
            text += outcome.failure->title + ": " + outcome.failure->description + '\n';
        } else if (command.output == CommandLine::Output::Reading) {
            text += readingOrHint(decoded) + '\n';
        } else {
            text += printReply(reply, command).out;
        }
        (void)writeOutput(text);
    };

    (void)query::runWatch({command.every, command.count}, clock, request, sink, interruption);
    writeErrorLine(summaryOf(summary.figures(), unit));
    return summary.figures().failures == 0 ? kSucceeded : kFailed;
}

}  // namespace vardelmo::cli
