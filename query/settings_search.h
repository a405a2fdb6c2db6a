#pragma once

#include <chrono>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "query/interruption.h"
#include "query/read_until.h"
#include "query/weight_request.h"
#include "serial/platform.h"
#include "serial/serial_line.h"

namespace vardelmo::query {

// The line settings checkout scales use, the most common first; the first is the window's own.
std::span<const std::string_view> searchCandidates();

// How long a try may wait for a reply after its enquiry unless `wait` says otherwise.
inline constexpr char kSearchBound[] = "600";

struct SearchPlan {
    std::string port;
    std::string wait = kSearchBound;  // converted as the window's wait field is
    bool all = false;                 // try every candidate, not only up to the first found
    std::string request{kEnquiry};    // what each try sends (see runEnquiry)
};

// One try: a request with these settings, its bytes, and whether they were recognized.
struct SearchTry {
    std::string config;
    std::string reply;
    bool recognized = false;
};

struct SearchResult {
    std::vector<SearchTry> tries;
    // A failure of the line or of the port or wait texts: it ends the search at once, as the
    // next try could only fail the same way.
    std::optional<FailureReport> failure;
    bool interrupted = false;

    bool found() const;
};

// What a search tells while it runs, on the thread it runs on: `onStart` before each try, with
// the settings about to be tried, and `onTry` as each try ends.
struct SearchEvents {
    std::function<void(std::string_view config)> onStart = [](std::string_view) {};
    std::function<void(const SearchTry&)> onTry = [](const SearchTry&) {};
};

// Tries each candidate with a request as a press makes it (the port is never held between two
// tries), except that the read ends as soon as the bytes that arrived are recognized, and
// otherwise when the bound has passed.
SearchResult searchSettings(const SearchPlan& plan, serial::SerialLine& line,
                            Interruption& interruption, const Recognizes& recognizes,
                            const SearchEvents& events,
                            const SteadyNow& now = std::chrono::steady_clock::now);

// When no try gave a reading, the first whose reply still `looksLikeFrames` (the frames of a
// family the tool does not know, rather than a wrong baud's garbage): its settings work, its
// frames are the tool's to learn. None when a try gave a reading, or there is no such reply.
const SearchTry* unknownFamilyTry(const SearchResult& result, const Recognizes& looksLikeFrames);

// What the operator is told when every try ended without a reading: "Nenhuma das 14
// configurações tentadas deu leitura na porta 5 (/dev/ttyS4)."
FailureReport notFoundReport(const SearchPlan& plan, const SearchResult& result,
                             serial::Platform platform = serial::hostPlatform());

}  // namespace vardelmo::query
