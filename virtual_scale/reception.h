#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <vector>

#include "virtual_scale/line_settings.h"
#include "virtual_scale/virtual_scale.h"
#include "virtual_scale/wire.h"

namespace vardelmo::vscale {

// One frame on its way to a client, byte by byte. What the client's UART makes of a byte
// depends on the settings the client has when the byte goes on the wire, not when the frame
// was made: a frame that waited for its turn, or for a client that was not reading, is
// garbled by the settings of its sending, and a client that changes its settings mid-frame
// gets the rest at its new ones.
class Reception {
public:
    // `client` is the client's line when the frame starts; see Mismatch for `mismatch`.
    Reception(std::string frame, const LineSettings& scale, Mismatch mismatch,
              const LineSettings& client);

    // Tells the client's line now. When it differs from the one the bytes ahead were worked
    // out at, they are worked out again at it, from the scale's first byte that started after
    // the last byte handed over.
    void clientIs(const LineSettings& client);

    bool done() const { return next_ >= ahead_.size(); }
    // The next byte the client's UART hands over, with its time after the frame's first byte
    // as worked out when the frame started (a paced reply keeps to it); only while !done().
    HeardByte next() const;
    // The bytes still to come, as the client's line stands.
    std::string rest() const;
    // `count` bytes have been handed over (or lost).
    void handedOver(std::size_t count);

    // The client's lines the frame was worked out at: "2400,n,8,1", or "9600,n,8,1 then
    // 2400,n,8,1" when the client changed its settings mid-frame.
    const std::string& clientLines() const { return clientLines_; }

private:
    void workOut(std::size_t from);

    std::string frame_;
    LineSettings scale_;
    Mismatch mismatch_;
    LineSettings client_;
    std::string clientLines_;
    std::chrono::nanoseconds lead_{0};  // when the first byte came, from the frame's start
    std::vector<HeardByte> ahead_;      // times from the scale's first start bit
    std::size_t next_ = 0;
    std::chrono::nanoseconds lastHanded_{-1};
};

}  // namespace vardelmo::vscale
