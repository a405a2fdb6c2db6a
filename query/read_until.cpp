#include "query/read_until.h"

#include <algorithm>

namespace vardelmo::query {

namespace {

using namespace std::chrono_literals;

// The longest the line is waited on at once, so that an interruption is heard within it even
// where the line's own wait cannot be ended from outside.
constexpr auto kSlice = 50ms;

}  // namespace

std::optional<Result<std::string>> readUntil(serial::SerialLine& line,
                                             const Interruption& interruption,
                                             const Recognizes& recognizes,
                                             std::chrono::milliseconds bound,
                                             const SteadyNow& now) {
    const auto deadline = now() + bound;
    std::string bytes;
    for (auto left = bound; left > 0ms;
         left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now())) {
        auto held = line.waitForInput(std::min(left, kSlice));
        if (interruption.interrupted()) {
            return std::nullopt;
        }
        if (!held) {
            return Result<std::string>(Failure{held.description()});
        }
        if (!held.value()) {
            continue;
        }
        auto input = line.getInput();
        if (!input) {
            return input;
        }
        bytes += input.value();
        if (recognizes(bytes)) {
            return Result<std::string>(std::move(bytes));
        }
    }
    // A last read at the bound takes what arrived with it.
    auto input = line.getInput();
    if (!input) {
        return input;
    }
    return Result<std::string>(bytes + input.value());
}

Outcome runRequestUntil(Fields& fields, serial::SerialLine& line, Interruption& interruption,
                        const Recognizes& recognizes, std::chrono::milliseconds bound,
                        const SteadyNow& now, std::string_view request) {
    return runEnquiry(
        fields, line, &interruption,
        [&] { return readUntil(line, interruption, recognizes, bound, now); }, request);
}

}  // namespace vardelmo::query
