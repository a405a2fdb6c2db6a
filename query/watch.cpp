#include "query/watch.h"

#include <algorithm>

namespace vardelmo::query {
namespace {

using Duration = SteadyTime::duration;

// The schedule: slot k begins at first + k * period. A period so long that a slot would lie
// past the clock's range puts that slot at the end of time rather than overflow.
class Schedule {
public:
    Schedule(SteadyTime first, std::chrono::milliseconds period)
        : first_(first),
          period_(
              std::clamp(period, std::chrono::milliseconds::zero(),
                         std::chrono::duration_cast<std::chrono::milliseconds>(Duration::max()))) {
        if (period_ > Duration::zero()) {
            const Duration ahead = first_.time_since_epoch() < Duration::zero()
                                       ? Duration::max()
                                       : SteadyTime::max() - first_;
            room_ = static_cast<std::uint64_t>(ahead / period_);
        }
    }

    bool backToBack() const { return period_ == Duration::zero(); }

    SteadyTime slot(std::uint64_t k) const {
        if (k > room_) {
            return SteadyTime::max();
        }
        return first_ + period_ * static_cast<Duration::rep>(k);
    }

    // The latest slot begun at `t`.
    std::uint64_t latestBegun(SteadyTime t) const {
        return t <= first_ ? 0 : static_cast<std::uint64_t>((t - first_) / period_);
    }

private:
    SteadyTime first_;
    Duration period_;
    std::uint64_t room_ = 0;  // slots after the first that the clock's range holds
};

bool cutShort(const Outcome& outcome) {
    return !outcome.display && !outcome.failure;
}

}  // namespace

WatchEnd runWatch(const WatchSettings& settings, WatchClock& clock, const WatchRequest& request,
                  const WatchSink& sink, Interruption& interruption) {
    WatchEnd end;
    const Schedule schedule(clock.now(), settings.period);
    std::uint64_t k = 0;  // the slot of the next request
    while (settings.count == 0 || end.requests < settings.count) {
        // With no period every request's slot is when the one before it ended.
        const SteadyTime slot = schedule.backToBack() ? clock.now() : schedule.slot(k);
        if (!clock.waitUntil(slot, interruption)) {
            end.interrupted = true;
            return end;
        }
        const SteadyTime start = clock.now();
        Outcome outcome = request(interruption);
        const bool interrupted = interruption.interrupted();
        if (!(interrupted && cutShort(outcome))) {
            sink(WatchedRequest{end.requests, slot, start, std::move(outcome)});
            ++end.requests;
        }
        if (interrupted) {
            end.interrupted = true;
            return end;
        }
        if (!schedule.backToBack()) {
            // An overrun: the next request starts at once, in the latest slot begun.
            k = std::max(k + 1, schedule.latestBegun(clock.now()));
        }
    }
    return end;
}

}  // namespace vardelmo::query
