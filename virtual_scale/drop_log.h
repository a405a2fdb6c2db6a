#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

namespace vardelmo::vscale {

// The log of the bytes a client did not take: a client that stops reading makes the scale drop
// every frame, so it is told at most once a second, each line with what was dropped since the
// line before: "[   12.345678] dropped 84 bytes in 12 writes: the client is not reading".
class DropLog {
public:
    using Clock = std::chrono::steady_clock;

    // `bytes` were dropped at `now`: the line to log, when one is due.
    std::optional<std::string> dropped(std::size_t bytes, Clock::time_point now);
    // A write went through at `now`: what was dropped before it, once a second has passed
    // since the last line; else it waits for the next line.
    std::optional<std::string> wrote(Clock::time_point now);
    // The scale ends: whatever was dropped and not told yet.
    std::optional<std::string> end(Clock::time_point now);

private:
    std::optional<std::string> tell(Clock::time_point now);

    std::optional<Clock::time_point> lastLine_;
    std::size_t bytes_ = 0;
    std::size_t writes_ = 0;
};

}  // namespace vardelmo::vscale
