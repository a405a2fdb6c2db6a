#include "query/weight_request.h"

#include <thread>

#include "query/conversions.h"

namespace vardelmo::query {
namespace {

// The single byte the scale answers to (ASCII ENQ).
constexpr std::string_view enquiry{"\x05", 1};

Outcome failed(const std::string& description) {
    return Outcome{std::nullopt, FailureReport{description}};
}

// After the port was opened a failure must not leave it held: close it, ignore a
// second failure while closing, and report the first one.
Outcome failedWhileOpen(serial::SerialLine& line, const std::string& description) {
    (void)line.setPortOpen(false);
    return failed(description);
}

}  // namespace

void sleepFor(std::chrono::milliseconds wait) {
    if (wait > std::chrono::milliseconds::zero()) {
        // sleep_until on the steady clock: a wall-clock change must not stretch the wait.
        std::this_thread::sleep_until(std::chrono::steady_clock::now() + wait);
    }
}

Outcome runWeightRequest(Fields& fields, serial::SerialLine& line, const Sleep& sleep) {
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

    if (auto status = line.setPortOpen(true); !status) {
        return failed(status.description());
    }

    if (auto status = line.setOutput(enquiry); !status) {
        return failedWhileOpen(line, status.description());
    }

    // Read only now: the enquiry is already on the line.
    const auto wait = convertWait(fields.wait());
    if (!wait) {
        return failedWhileOpen(line, wait.description());
    }
    sleep(wait.value());

    auto reply = line.getInput();
    if (!reply) {
        return failedWhileOpen(line, reply.description());
    }

    if (auto status = line.setPortOpen(false); !status) {
        // The reply was read before the closing failed, so it is shown with the report.
        return Outcome{std::move(reply).value(), FailureReport{status.description()}};
    }
    return Outcome{std::move(reply).value(), std::nullopt};
}

}  // namespace vardelmo::query
