#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "query/interruption.h"
#include "serial/serial_line.h"

namespace vardelmo::query {

// The single byte most scales answer to (ASCII ENQ): what every request sends unless told
// otherwise. Some scales answer other bytes ('P', EOT, "{RW}"); some need none, as they send
// all the time: an empty request sends nothing and only listens.
inline constexpr std::string_view kEnquiry{"\x05", 1};

// What the operator is shown when a request fails: a modal box with the
// critical icon and a single OK button.
struct FailureReport {
    std::string description;
    std::string title = "Deu Pau!";
};

// The window's settings fields as the request sees them. Each is read only
// when its step comes, so the order of the reads is part of the contract.
class Fields {
public:
    virtual ~Fields() = default;
    virtual std::string config() = 0;  // line settings, e.g. "2400,n,8,1"
    virtual std::string port() = 0;    // port number or device path
    virtual std::string wait() = 0;    // milliseconds to wait before the read
};

// The result of one request. `display` is the new text of the weight display
// (the reply bytes, unchanged); it is set on success and after a failure at
// the closing step, when the reply had already been read. Neither is set when
// the request was interrupted: it was cut short and shows nothing.
struct Outcome {
    std::optional<std::string> display;
    std::optional<FailureReport> failure;
};

using Sleep = std::function<void(std::chrono::milliseconds)>;

// Blocks the calling thread on a steady clock.
void sleepFor(std::chrono::milliseconds wait);

// What a request does once the enquiry is on the line: gives the reply or the failure that
// stopped it, or nothing when an interruption cut it short (then it has read nothing more).
using Collect = std::function<std::optional<Result<std::string>>()>;

// The steps every request shares: settings, port, open, enquiry (the bytes of `request`; none
// when it is empty), then `collect`, then close. A failure after the opening closes the
// port; an interruption opens nothing more.
Outcome runEnquiry(Fields& fields, serial::SerialLine& line, const Interruption* interruption,
                   const Collect& collect, std::string_view request = kEnquiry);

// One query of the scale: settings, port, open, enquiry, wait, read, close.
Outcome runWeightRequest(Fields& fields, serial::SerialLine& line, const Sleep& sleep = sleepFor,
                         std::string_view request = kEnquiry);

// The same request, waiting on `interruption`. A step that fails once interrupted (its call
// ended by the interruption's canceller) is no failure either. Once interrupted it opens
// nothing more, sends and reads nothing more, and closes a port it opened.
Outcome runWeightRequest(Fields& fields, serial::SerialLine& line, Interruption& interruption,
                         std::string_view request = kEnquiry);

}  // namespace vardelmo::query
