#include "virtual_scale/reception.h"

#include <algorithm>
#include <string_view>

namespace vardelmo::vscale {

Reception::Reception(std::string frame, const LineSettings& scale, Mismatch mismatch,
                     const LineSettings& client)
    : frame_(std::move(frame)),
      scale_(scale),
      mismatch_(mismatch),
      client_(client),
      clientLines_(client.text()) {
    workOut(0);
    lead_ = ahead_.empty() ? std::chrono::nanoseconds(0) : ahead_.front().at;
}

void Reception::clientIs(const LineSettings& client) {
    if (client == client_ || done()) {
        return;
    }
    client_ = client;
    clientLines_ += " then " + client.text();
    // The scale's bytes that started after the last byte handed over: the client's UART
    // looks for a start bit among them only.
    const auto byteTime = scale_.byteTime();
    const auto from = lastHanded_.count() < 0
                          ? std::size_t{0}
                          : static_cast<std::size_t>(lastHanded_ / byteTime) + 1;
    workOut(from);
}

HeardByte Reception::next() const {
    HeardByte byte = ahead_.at(next_);
    byte.at -= lead_;
    return byte;
}

std::string Reception::rest() const {
    std::string bytes;
    for (std::size_t i = next_; i < ahead_.size(); ++i) {
        bytes += ahead_[i].value;
    }
    return bytes;
}

void Reception::handedOver(std::size_t count) {
    next_ = std::min(ahead_.size(), next_ + count);
    if (next_ > 0) {
        lastHanded_ = ahead_[next_ - 1].at;
    }
}

void Reception::workOut(std::size_t from) {
    ahead_.clear();
    next_ = 0;
    // With Mismatch::Silent only the baud counts: the same baud gets the bytes unchanged, at
    // the scale's own timing; another gets nothing.
    if (from >= frame_.size() || (mismatch_ == Mismatch::Silent && client_.baud != scale_.baud)) {
        return;
    }
    const LineSettings& receiver = mismatch_ == Mismatch::Silent ? scale_ : client_;
    const auto start = static_cast<long long>(from) * scale_.byteTime();
    for (HeardByte byte : overTheWire(std::string_view(frame_).substr(from), scale_, receiver)) {
        byte.at += start;
        ahead_.push_back(byte);
    }
}

}  // namespace vardelmo::vscale
