#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "query/interruption.h"
#include "query/weight_request.h"
#include "serial/result.h"
#include "serial/serial_line.h"

namespace vardelmo::query {

// Whether the bytes that arrived so far are a reply worth ending the read for.
using Recognizes = std::function<bool(std::string_view bytes)>;
using SteadyNow = std::function<std::chrono::steady_clock::time_point()>;

// Reads until the bytes are recognized or `bound` has passed since the call; nothing when
// `interruption` cut it short. A scale's reply is read as soon as it is whole, however short
// or long the bound.
std::optional<Result<std::string>> readUntil(serial::SerialLine& line,
                                             const Interruption& interruption,
                                             const Recognizes& recognizes,
                                             std::chrono::milliseconds bound,
                                             const SteadyNow& now = std::chrono::steady_clock::now);

// A request as a press makes it (sending `request`), except that the read ends as soon as
// what arrived is recognized, and otherwise at `bound` after the enquiry: the fields' wait is
// not read.
Outcome runRequestUntil(Fields& fields, serial::SerialLine& line, Interruption& interruption,
                        const Recognizes& recognizes, std::chrono::milliseconds bound,
                        const SteadyNow& now = std::chrono::steady_clock::now,
                        std::string_view request = kEnquiry);

}  // namespace vardelmo::query
