#include "virtual_scale/request.h"

#include <algorithm>

namespace vardelmo::vscale {

std::vector<RequestMatcher::Piece> RequestMatcher::feed(std::string_view chunk) {
    std::vector<Piece> pieces;
    pending_ += chunk;
    if (request_.empty()) {
        if (!pending_.empty()) {
            pieces.push_back({false, pending_});
        }
        pending_.clear();
        return pieces;
    }
    for (auto at = pending_.find(request_); at != std::string::npos; at = pending_.find(request_)) {
        if (at > 0) {
            pieces.push_back({false, pending_.substr(0, at)});
        }
        pieces.push_back({true, {}});
        pending_.erase(0, at + request_.size());
    }
    // Keep the longest end that the request begins with; the rest can be no request.
    std::size_t keep = std::min(pending_.size(), request_.size() - 1);
    while (keep > 0 && pending_.compare(pending_.size() - keep, keep, request_, 0, keep) != 0) {
        --keep;
    }
    if (pending_.size() > keep) {
        pieces.push_back({false, pending_.substr(0, pending_.size() - keep)});
        pending_.erase(0, pending_.size() - keep);
    }
    return pieces;
}

}  // namespace vardelmo::vscale
