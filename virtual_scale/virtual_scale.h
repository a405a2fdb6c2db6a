#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "virtual_scale/line_settings.h"

namespace vardelmo::vscale {

// The frame families, named as in the --format option (Stx5 is toledo-b's older name).
enum class Format {
    ToledoB,
    Stx5 = ToledoB,
    ToledoC,
    ToledoA,
    P03,
    StGs,
    Micheletti,
    Status,
    Line,
    Ack,
    // The families beyond the first six, and the other forms of toledo-b and st-gs.
    ToledoBSelf,
    StGs19,
    StGsTr,
    ToledoEth,
    Bcs21,
    Lider,
    Urano,
    UranoPop,
    UranoPopBare,
    Magna,
    DigitronUl,
    Alfa,
    Afts,
    Muller,
    Saturno,
    Lucastec,
    Precision,
    Lenke,
    Wt1000,
    Wt27r,
    Marel,
    Capital,
    Siciliano,
    SicilianoIp10,
    Condec,
    El05,
    TruTest,
};
enum class State { Stable, Motion, Negative, Overload, Silent };

// What passes between a client and the scale when their line settings differ.
//   Wire    what a UART at one end makes of the other end's bits (see wire.h): garbled
//           bytes, an enquiry not heard as one. The same settings pass bytes unchanged.
//   Silent  the scale hears nothing from a client at another baud, and says nothing to it.
// Of the client, a pseudo-terminal shows only the baud and the stop bits: the kernel forces
// 8 data bits and clears the parity, so the client is taken as 8 data bits, no parity.
enum class Mismatch { Wire, Silent };

// What the scale answers to one enquiry; empty when it stays silent. The weight is rounded to
// whole grams first. The scale's capacity is 99.999 kg: above it the reading is an overload,
// below zero (or in state Negative) an underload. The price-computing families price a kg at
// 20.00. For 1.234 kg, stable (hex for the bytes that are no text):
//   ToledoB     STX "01234" ETX            motion "IIIII", underload "NNNNN", overload "SSSSS"
//   ToledoC     STX "01234" CR             the same body
//   ToledoA     STX 00 "001234" 00 "002468" "002000" CR 71
//                                          S1 bit 0 motion, bit 3 under- or overload (total 0)
//   P03         STX 2D 30 20 "001234" "000000" CR
//                                          SWB 32 underload, 34 overload, 38 motion
//   StGs        "ST,GS,+  1.234kg" CR LF   US motion, OL overload, "-" for an underload
//   Micheletti  STX "  1234   2000   2468" ETX
//                                          motion alike; nothing for under- or overload
//   Status      STX "+  1.234G" ETX        sign, 7 characters, letter G/M/O/U (stable, motion,
//                                          overload, underload); the field stops at 999.999
//   Line        "+  1.234 kg G" CR LF      the same sign, field and letter as Status
//   Ack         ACK                        whatever the state, except silent
// The families beyond these (ToledoBSelf to TruTest) are listed in the program's help, each
// with its frame; a family whose frame tells no state sends a moving weight as a stable one
// and nothing below zero or above the capacity, and the net is the weight given where a
// frame has a tare (of 0.266 kg).
std::string frame(Format format, double weightKg, State state);

struct Exchange;

struct Options {
    Format format = Format::ToledoB;
    double weightKg = 1.234;
    State state = State::Stable;
    std::chrono::milliseconds delay{3};  // from the enquiry to the first byte of the reply
    bool pace = true;                    // send the reply at the line's byte time
    LineSettings line;                   // the scale's own line, 2400,n,8,1 unless set
    Mismatch mismatch = Mismatch::Wire;
    std::string linkPath;  // when set, a symlink to the slave, removed on close
    // Above zero: a frame this often, asked or not, as a continuous scale sends; enquiries are
    // still answered, each reply after the frame on the line. Zero: replies only.
    std::chrono::milliseconds continuous{0};
    // The bytes the scale answers, ENQ unless set; other bytes are ignored. Empty: it answers
    // nothing, and only talks unasked (with `continuous`).
    std::string request{"\x05"};
    // When set, the frame sent instead of the format's, whatever the weight and the state
    // (but silent); a format set live ends it.
    std::string customFrame;
    // Both are called with no lock held. `log` gets one finished line (no newline) for each
    // enquiry, each run of ignored bytes, each change of the frames sent unasked and each
    // failure of the line, on the scale's thread;
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
    std::string heard;        // what the scale's UART made of the client's bytes, request and all
    std::string frame;        // what the scale put on its line, empty when silent
    std::string sent;         // what reached the client: `frame` as the client's UART reads it
    std::vector<std::chrono::steady_clock::time_point> sentAt;  // one a byte of `sent`
};

// A scale on a pseudo-terminal, answering ENQ polls (or its `request`) on its own thread.
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

    // Writes bytes to the client unasked (a scale that talks on its own); false when the
    // client did not take them all: those it had no room for within a while are lost.
    bool send(const std::string& bytes);
    // Every byte received so far, ENQs included, in order.
    std::string received() const;
    std::vector<Exchange> exchanges() const;
    // Blocks until `count` enquiries have been answered (or found silent) or
    // the timeout passes; true when they have. Tests wait on this, never sleep.
    bool waitForExchanges(std::size_t count, std::chrono::milliseconds timeout) const;
    // How many writes so far found the client's terminal full and waited for room; and a wait
    // until `count` have (or the timeout passes), true when they have.
    std::size_t stalls() const;
    bool waitForStalls(std::size_t count, std::chrono::milliseconds timeout) const;

    // For a scale about to end: stops the frames a continuous scale sends unasked, then blocks
    // until the client has read (or thrown away) every byte up to the end of the last reply
    // (or send()), or the timeout passes; true when it has. Closing the pty throws unread
    // bytes away, so the scale waits on this first. Frames sent unasked after that reply are
    // not waited for: a client that reads once, as the tool does, never reads them.
    bool waitUntilDelivered(std::chrono::milliseconds timeout);

    // Closes the pty as an unplugged scale would; clients then see the device fail.
    void vanish();

private:
    struct Impl;
    explicit VirtualScale(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace vardelmo::vscale
