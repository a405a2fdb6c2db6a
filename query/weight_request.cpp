#include "query/weight_request.h"

#include <thread>

#include "query/conversions.h"

namespace vardelmo::query {
namespace {

Outcome failed(const std::string& description) {
    return Outcome{std::nullopt, FailureReport{description}};
}

// After the port was opened a failure must not leave it held: close it, ignore a
// second failure while closing, and report the first one.
Outcome failedWhileOpen(serial::SerialLine& line, const std::string& description) {
    (void)line.setPortOpen(false);
    return failed(description);
}

// Not a failure: nobody is left to be told.
Outcome cutShort(serial::SerialLine& line, bool opened) {
    if (opened) {
        (void)line.setPortOpen(false);
    }
    return Outcome{};
}

}  // namespace

void sleepFor(std::chrono::milliseconds wait) {
    // A deadline on the steady clock: a wall-clock change must not stretch the wait. A system
    // may wake a sleeper up to a millisecond early (its sleep counts whole ticks), so sleep
    // again until the deadline has truly passed: the scale gets at least the wait typed.
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_until(deadline);
    }
}

Outcome runEnquiry(Fields& fields, serial::SerialLine& line, const Interruption* interruption,
                   const Collect& collect, std::string_view request) {
    const auto interrupted = [interruption] {
        return interruption != nullptr && interruption->interrupted();
    };

    const std::string config = fields.config();
    if (auto status = line.setSettings(trimSpaces(config)); !status) {
        return failed(status.description());
    }

    const auto port = convertPort(fields.port());
    if (!port) {
        return failed(port.description());
    }
    if (auto status = line.setPort(port.value()); !status) {
        return failed(status.description());
    }

    if (interrupted()) {
        return cutShort(line, false);
    }
    // A step that failed because the interruption ended its call is cut short too.
    if (auto status = line.setPortOpen(true); !status) {
        return interrupted() ? cutShort(line, false) : failed(status.description());
    }
    // Asked again once the port is held: an interruption during the opening
    // must not leave it open.
    if (interrupted()) {
        return cutShort(line, true);
    }

    // Nothing to send is no write at all: a line may fail a write of no bytes.
    if (!request.empty()) {
        if (auto status = line.setOutput(request); !status) {
            return interrupted() ? cutShort(line, true)
                                 : failedWhileOpen(line, status.description());
        }
    }

    auto reply = collect();
    if (!reply) {
        return cutShort(line, true);
    }
    if (!*reply) {
        return interrupted() ? cutShort(line, true) : failedWhileOpen(line, reply->description());
    }

    if (auto status = line.setPortOpen(false); !status) {
        // The reply was read before the closing failed, so it is shown with the report.
        return Outcome{std::move(*reply).value(), FailureReport{status.description()}};
    }
    return Outcome{std::move(*reply).value(), std::nullopt};
}

namespace {

// The press's own steps after the enquiry: the wait, then one read of whatever is held.
Outcome run(Fields& fields, serial::SerialLine& line, const Sleep& sleep,
            const Interruption* interruption, std::string_view request) {
    const auto collect = [&]() -> std::optional<Result<std::string>> {
        // Read only now: the enquiry is already on the line.
        const auto wait = convertWait(fields.wait());
        if (!wait) {
            return Result<std::string>(Failure{wait.description()});
        }
        sleep(wait.value());
        if (interruption != nullptr && interruption->interrupted()) {
            return std::nullopt;
        }
        return line.getInput();
    };
    return runEnquiry(fields, line, interruption, collect, request);
}

}  // namespace

Outcome runWeightRequest(Fields& fields, serial::SerialLine& line, const Sleep& sleep,
                         std::string_view request) {
    return run(fields, line, sleep, nullptr, request);
}

Outcome runWeightRequest(Fields& fields, serial::SerialLine& line, Interruption& interruption,
                         std::string_view request) {
    const auto wait = [&interruption](std::chrono::milliseconds ms) {
        (void)interruption.waitFor(ms);
    };
    return run(fields, line, wait, &interruption, request);
}

}  // namespace vardelmo::query
