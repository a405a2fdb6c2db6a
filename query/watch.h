#pragma once

#include <chrono>
#include <cstdint>
#include <functional>

#include "query/interruption.h"
#include "query/weight_request.h"

namespace vardelmo::query {

using SteadyTime = std::chrono::steady_clock::time_point;

// The watch's view of time, so that its schedule is tested without waiting.
class WatchClock {
public:
    virtual ~WatchClock() = default;
    virtual SteadyTime now() = 0;
    // Returns true once `deadline` has come (at once when it has passed), false as soon as
    // `interruption` is interrupted, before or during the wait.
    virtual bool waitUntil(SteadyTime deadline, Interruption& interruption) = 0;
};

// The steady clock: its wait is the interruption's own, which wakes on interruption.
class SteadyWatchClock final : public WatchClock {
public:
    SteadyTime now() override { return std::chrono::steady_clock::now(); }
    bool waitUntil(SteadyTime deadline, Interruption& interruption) override {
        return interruption.waitUntil(deadline);
    }
};

struct WatchSettings {
    // Start to start. Zero (or less) runs the requests back to back.
    std::chrono::milliseconds period{500};
    // Requests reported before the watch ends; 0 for no end but the interruption.
    std::uint64_t count = 0;
};

// One request of the watch, handed over as soon as it ended.
struct WatchedRequest {
    std::uint64_t index = 0;  // 0 for the first
    // The slot of the schedule it took, and when it started: the same unless the request
    // before it overran. The sink gets the wall time of the start as
    // system_clock::now() - (steady_clock::now() - start).
    SteadyTime slot;
    SteadyTime start;
    Outcome outcome;
};

// Runs one request, giving up when `interruption` is interrupted (as the request of a press
// does given the same).
using WatchRequest = std::function<Outcome(Interruption& interruption)>;
// Receives each request's result at once, so the caller prints and flushes it before the next.
using WatchSink = std::function<void(const WatchedRequest&)>;

struct WatchEnd {
    std::uint64_t requests = 0;  // handed to the sink
    bool interrupted = false;
};

// Runs `request` on the schedule first start + k * period, k = 0, 1, 2..., on `clock`, so
// that the period does not drift however long the watch. Never two requests at once: one
// that overruns its period makes the next start as soon as it ends; that late start takes
// the latest slot already begun, the slots before it are skipped rather than made up in a
// burst, and the next waits for the slot after it, on the same schedule.
//
// Ends after `settings.count` requests, or as soon as `interruption` is interrupted: a wait
// then ends at once, a running request is cut short, and nothing more starts. A request cut
// short reports nothing (an outcome with neither display nor failure) and is not handed to
// the sink; one that ended all the same is.
WatchEnd runWatch(const WatchSettings& settings, WatchClock& clock, const WatchRequest& request,
                  const WatchSink& sink, Interruption& interruption);

}  // namespace vardelmo::query
