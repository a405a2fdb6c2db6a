#pragma once

#include <optional>
#include <string>

#include "query/weight_request.h"
#include "reading/reading.h"

namespace vardelmo::cli {

// One request as every output form sees it, whichever mode made it: the texts it was made
// with, what was sent, and the reply or the failure.
struct Exchange {
    std::string port;
    std::optional<std::string> config;  // none for a search's end, which tried many
    std::string wait;                   // with --find and --until the bound of the read
    std::string request;                // the bytes sent
    // The bytes read; none when the request failed before its read, or for a search's end.
    // A failure at the closing keeps the reply read before it.
    std::optional<std::string> reply;
    std::optional<query::FailureReport> failure;
    reading::Decoded decoded;  // of the reply

    // The scale sent nothing within the wait.
    bool silent() const { return !failure && reply && reply->empty(); }
    // A reply to take: read, with no failure after it.
    bool answered() const { return !failure && reply && !reply->empty(); }
};

// The exchange of a request made with these texts, from its outcome.
Exchange exchangeOf(std::string port, std::optional<std::string> config, std::string wait,
                    std::string request, const query::Outcome& outcome);

}  // namespace vardelmo::cli
