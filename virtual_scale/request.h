#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vardelmo::vscale {

// Finds a request (ENQ, "{RW}", ...) in the bytes a scale hears, chunk after chunk: a request
// may arrive split over two reads. Bytes that can still begin one are held back until the
// next chunk tells.
class RequestMatcher {
public:
    RequestMatcher() = default;
    explicit RequestMatcher(std::string request) : request_(std::move(request)) {}

    // What one chunk held, in order: a run of other bytes, or a whole request.
    struct Piece {
        bool request = false;
        std::string ignored;  // the bytes of a run that is no request
    };
    std::vector<Piece> feed(std::string_view chunk);

private:
    std::string request_;  // empty: nothing is ever a request
    std::string pending_;
};

}  // namespace vardelmo::vscale
