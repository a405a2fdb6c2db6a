#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vardelmo::query {

enum class Steadiness { Unknown, InMotion, Stable };

// What the summary needs of one request of a watch.
struct Observation {
    std::chrono::steady_clock::time_point start;
    // A request may be both: a reply read and understood, then a failure closing the port.
    bool failed = false;
    bool understood = false;  // the reply decoded into a reading
    // Of an understood reading only: its weight as exact decimal text ("1.234", "-0.500").
    std::optional<std::string> weight;
    Steadiness steadiness = Steadiness::Unknown;
    bool silent = false;  // nothing arrived within the wait
};

struct WatchFigures {
    std::uint64_t requests = 0;
    std::uint64_t understood = 0;
    // The exit status follows: 0 when none failed, 1 otherwise.
    std::uint64_t failures = 0;
    // The texts as the scale sent them; of equal weights ("1.5", "1.50") the first seen.
    std::optional<std::string> lowest;
    std::optional<std::string> highest;
    // Of the last run of readings in motion: from the start of its first request to the start
    // of the first stable reading after it, in whole milliseconds rounded down. Unset when
    // no reading was in motion, or the last run never settled (then `inMotionAtEnd`).
    std::optional<std::chrono::milliseconds> settledAfter;
    bool inMotionAtEnd = false;
    // Requests that read nothing: with no failure, any of them makes the exit status 4.
    std::uint64_t silent = 0;

    bool operator==(const WatchFigures&) const = default;
};

// The figures of a watch, fed one observation a request in the order they started. A run of
// motion is broken only by a stable reading: failures, replies not understood and readings
// that tell neither motion nor stability between its readings leave it running.
class WatchSummary {
public:
    void add(const Observation& observation);
    const WatchFigures& figures() const { return figures_; }

private:
    WatchFigures figures_;
    std::optional<std::chrono::steady_clock::time_point> motionSince_;
};

// Orders two decimal texts by the numbers they spell, exactly: an optional sign, digits, and
// an optional point with digits after it ("-0.500", "+2", "12.30"; "-0" is zero). Negative,
// zero or positive as `a` is below, equal to or above `b`; nullopt when either is no such text.
std::optional<int> compareDecimals(std::string_view a, std::string_view b);

}  // namespace vardelmo::query
