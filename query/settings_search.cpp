#include "query/settings_search.h"

#include <algorithm>
#include <array>

#include "query/conversions.h"
#include "query/field_texts.h"
#include "serial/port_name.h"

namespace vardelmo::query {

namespace {

using namespace std::chrono_literals;

// The longest the line is waited on at once, so that an interruption is heard within it even
// where the line's own wait cannot be ended from outside.
constexpr auto kSlice = 50ms;

constexpr std::array<std::string_view, 14> kCandidates{
    "2400,n,8,1", "9600,n,8,1", "4800,n,8,1", "19200,n,8,1", "1200,n,8,1",
    "9600,e,7,1", "4800,e,7,1", "2400,e,7,1", "9600,o,7,1",  "4800,o,7,1",
    "2400,o,7,1", "9600,n,8,2", "4800,n,8,2", "2400,n,8,2"};

// Reads until the bytes are recognized or `bound` has passed since the enquiry.
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

}  // namespace

std::span<const std::string_view> searchCandidates() {
    return kCandidates;
}

bool SearchResult::found() const {
    return std::any_of(tries.begin(), tries.end(), [](const SearchTry& t) { return t.recognized; });
}

SearchResult searchSettings(const SearchPlan& plan, serial::SerialLine& line,
                            Interruption& interruption, const Recognizes& recognizes,
                            const SearchEvents& events, const SteadyNow& now) {
    SearchResult result;
    const auto bound = convertWait(plan.wait);
    if (!bound) {
        result.failure = FailureReport{bound.description()};
        return result;
    }
    for (const std::string_view config : searchCandidates()) {
        events.onStart(config);
        // The bound stands for the wait: a try reads until it, or until a reply is recognized.
        FieldTexts fields;
        fields.portText = plan.port;
        fields.configText = config;
        const Outcome outcome = runEnquiry(
            fields, line, &interruption,
            [&] { return readUntil(line, interruption, recognizes, bound.value(), now); },
            plan.request);
        if (interruption.interrupted()) {
            result.interrupted = true;
            return result;
        }
        if (outcome.failure) {
            result.failure = outcome.failure;
            return result;
        }
        SearchTry done{std::string(config), outcome.display.value_or(std::string{}), false};
        done.recognized = recognizes(done.reply);
        result.tries.push_back(done);
        events.onTry(done);
        if (done.recognized && !plan.all) {
            break;
        }
    }
    return result;
}

FailureReport notFoundReport(const SearchPlan& plan, const SearchResult& result,
                             serial::Platform platform) {
    // The search has converted the port text already before it could find nothing; a text it
    // could not convert is named as typed.
    const auto port = convertPort(plan.port, platform);
    const std::string named =
        port ? serial::portLabel(port.value(), platform) : "porta " + plan.port;
    return FailureReport{"Nenhuma das " + std::to_string(result.tries.size()) +
                         " configurações tentadas deu leitura na " + named + '.'};
}

}  // namespace vardelmo::query
