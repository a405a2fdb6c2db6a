#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vardelmo::vscale {

enum class Format { Stx5, Status, Line, Ack };
enum class State { Stable, Motion, Negative, Overload, Silent };

// What the scale answers to one enquiry; empty when it stays silent. The weight is rounded to
// whole grams first. The scale's capacity is 99.999 kg: above it the reading is an overload,
// below zero (or in state Negative) an underload. Shapes, for 1.234 kg stable:
//   Stx5    STX "01234" ETX            motion "IIIII", underload "NNNNN", overload "SSSSS"
//   Status  STX "+  1.234G" ETX        sign, 7 characters, letter G/M/O/U (stable, motion,
//                                      overload, underload); the field stops at 999.999
//   Line    "+  1.234 kg G" CR LF      the same sign, field and letter as Status
//   Ack     ACK                        whatever the state, except silent
std::string frame(Format format, double weightKg, State state);

struct Exchange;

struct Options {
    Format format = Format::Stx5;
    double weightKg = 1.234;
    State state = State::Stable;
    std::chrono::milliseconds delay{3};  // from the enquiry to the first byte of the reply
    bool pace = true;                    // send the reply at the line's byte time
    unsigned baud = 2400;                // the scale's own line: it hears only clients at this baud
    double bitsPerByte = 10;             // start + data + parity + stop bits (1.5 stop bits exist)
    std::string linkPath;                // when set, a symlink to the slave, removed on close
    // Both are called with no lock held. `log` gets one finished line (no newline) for each
    // enquiry, each run of ignored bytes and each failure of the line, on the scale's thread;
    // but bytes that send() could not write are logged on send()'s caller's thread, so `log`
    // may run on two threads at once. `onExchange` gets each enquiry once its reply has left
    // (or it was found silent), on the scale's thread only.
    std::function<void(const std::string&)> log;
    std::function<void(const Exchange&)> onExchange;
};

// One enquiry as the scale saw it.
struct Exchange {
    std::chrono::steady_clock::time_point received;
    unsigned clientBaud = 0;  // the baud the client had set on the port
    std::string clientLine;   // the client's settings as seen, e.g. "2400,n,8,1"
    std::string sent;         // the frame, empty when silent
    std::vector<std::chrono::steady_clock::time_point> sentAt;  // one a byte of `sent`
};

// A scale on a pseudo-terminal, answering ENQ polls on its own thread.
// Nothing here exits or throws on a system failure: open() reports it.
class VirtualScale {
public:
    // Opens the pty pair and starts answering; on failure returns null and sets `error`.
    static std::unique_ptr<VirtualScale> open(const Options& options, std::string& error);
    ~VirtualScale();  // stops the thread, closes the pty, removes the link

    VirtualScale(const VirtualScale&) = delete;
    VirtualScale& operator=(const VirtualScale&) = delete;

    const std::string& path() const;  // the slave device clients open

    // Live changes; they apply from the next enquiry on.
    void setWeight(double kg);
    void setState(State state);
    void setFormat(Format format);

    // Writes bytes to the client unasked (a scale that talks on its own).
    void send(const std::string& bytes);
    // Every byte received so far, ENQs included, in order.
    std::string received() const;
    std::vector<Exchange> exchanges() const;
    // Blocks until `count` enquiries have been answered (or found silent) or
    // the timeout passes; true when they have. Tests wait on this, never sleep.
    bool waitForExchanges(std::size_t count, std::chrono::milliseconds timeout) const;

    // Blocks until the client has read every byte sent to it, or the timeout passes; true
    // when nothing is left unread. Closing the pty throws unread bytes away, so a scale that
    // is about to end waits on this first.
    bool waitUntilDelivered(std::chrono::milliseconds timeout) const;

    // Closes the pty as an unplugged scale would; clients then see the device fail.
    void vanish();

private:
    struct Impl;
    explicit VirtualScale(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace vardelmo::vscale
