#include "virtual_scale/drop_log.h"

#include "virtual_scale/log_text.h"

namespace vardelmo::vscale {
namespace {

constexpr auto kAtMostEvery = std::chrono::seconds(1);

}  // namespace

std::optional<std::string> DropLog::dropped(std::size_t bytes, Clock::time_point now) {
    bytes_ += bytes;
    ++writes_;
    if (lastLine_ && now - *lastLine_ < kAtMostEvery) {
        return std::nullopt;
    }
    return tell(now);
}

std::optional<std::string> DropLog::wrote(Clock::time_point now) {
    if (writes_ == 0 || (lastLine_ && now - *lastLine_ < kAtMostEvery)) {
        return std::nullopt;
    }
    return tell(now);
}

std::optional<std::string> DropLog::end(Clock::time_point now) {
    return writes_ == 0 ? std::nullopt : tell(now);
}

std::optional<std::string> DropLog::tell(Clock::time_point now) {
    std::string line =
        stamp(now) + " dropped " + std::to_string(bytes_) + (bytes_ == 1 ? " byte" : " bytes");
    if (writes_ > 1) {
        line += " in " + std::to_string(writes_) + " writes";
    }
    line += ": the client is not reading";
    lastLine_ = now;
    bytes_ = 0;
    writes_ = 0;
    return line;
}

}  // namespace vardelmo::vscale
