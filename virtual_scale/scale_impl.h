#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "virtual_scale/drop_log.h"
#include "virtual_scale/pty.h"
#include "virtual_scale/request.h"
#include "virtual_scale/virtual_scale.h"

// The scale's insides, shared by virtual_scale.cpp (its life and its thread's loop),
// replies.cpp (what it hears and what it sends) and writing.cpp (its writes to the client's
// terminal). Not for any other file.
namespace vardelmo::vscale {

using Clock = std::chrono::steady_clock;

// What reached the client of one frame, and when each byte did.
struct Delivery {
    std::string bytes;
    std::vector<Clock::time_point> at;
    std::string clientLines;  // the client's line as the bytes went, see Reception
};

struct VirtualScale::Impl {
    Options options;  // format, weight and state change live, under `mutex`
    Pty pty;
    int wake[2] = {-1, -1};  // tells the thread to look at `stopping` and `vanishing`
    std::thread thread;

    mutable std::mutex mutex;
    mutable std::condition_variable changed;
    std::string received;
    std::vector<Exchange> exchanges;
    std::size_t stalls = 0;  // writes that found the terminal full; taken under `writing` too
    // Set under `mutex` (so waiters never miss them), read without it by the answering loop.
    std::atomic<bool> stopping = false;
    std::atomic<bool> vanishing = false;
    std::atomic<bool> quiet = false;  // no more frames unasked: the scale is about to end
    bool vanished = false;
    bool threadDone = false;

    std::mutex writing;         // one writer at a time on the master; guards closing it too
    std::uint64_t written = 0;  // bytes written to the master so far, under `writing`
    // `written` as the last reply (or send()) ended, under `writing`: what a client must
    // have read for the scale to end, whatever a continuous scale sent unasked after it.
    std::uint64_t writtenThroughReply = 0;
    DropLog drops;                   // under `writing`
    Clock::time_point lineFreeAt{};  // the scale's thread only, as are the two below
    Clock::time_point nextUnasked{};
    std::string lastUnaskedLog;  // the frames sent unasked are logged when they change
    // The requests in what the scale heard, and in what the client sent: the scale's thread only.
    RequestMatcher heardRequests;
    RequestMatcher sentRequests;

    ~Impl();

    // virtual_scale.cpp
    void log(const std::string& line) const;
    void poke() const;
    bool interrupted() const { return stopping || vanishing; }
    // Sleeps to an absolute deadline, so that pacing never drifts; false when told to stop.
    bool sleepUntil(Clock::time_point deadline) const;
    void closeLine();
    void run();

    // writing.cpp
    enum class Asked { Yes, No };
    // What one write to the master did, under `writing`.
    struct Written {
        std::string bytes;  // those written
        std::size_t count = 0;
        bool closed = false;  // the line is closed: nothing more can be written
        bool room = true;     // false: the client took nothing more within the stall
    };
    // Writes what the master takes of `bytesNow()`, called under `writing`, waiting for room
    // for the rest up to the stall once. Bytes that are no unasked frame move
    // `writtenThroughReply` along in the same breath.
    Written writeOnce(const std::function<std::string()>& bytesNow, Asked asked);
    // Writes all the bytes, waiting on a client that reads slowly; a client that stops
    // reading loses the rest, as on a real line. False when anything was lost.
    bool writeBytes(const char* data, std::size_t size, Asked asked);
    // Logs bytes lost to a client not reading (at most a line a second), or a write that
    // went through after such losses.
    void noteWrite(std::size_t lost);
    void noteEnd();  // what was dropped and not yet logged, as the scale ends

    // replies.cpp
    std::chrono::nanoseconds byteTime() const { return options.line.byteTime(); }
    // The line the client has set, as its UART would be; the scale's own when unknown.
    LineSettings clientSeen() const;
    // Puts a frame on the scale's line from `start` on and hands the client what its UART
    // makes of each byte at the client's settings as the byte is sent, paced or at once.
    Delivery deliver(const std::string& frame, Clock::time_point start, Asked asked);
    // `what` with, when the client got other bytes than the frame, the frame and both lines.
    std::string garbled(const std::string& what, const std::string& frame, const std::string& sent,
                        const std::string& clientLines) const;
    void record(const Exchange& exchange);
    // The frame for the options as they stand now, and what it says, for the log; under `mutex`.
    std::string currentFrame(std::string& what) const;
    // `heard`: what the scale's UART made of the bytes the enquiry came in.
    void answer(Clock::time_point arrived, const std::string& heard);
    void missEnquiry(Clock::time_point arrived, const std::string& heard, const ClientLine& client);
    // The continuous scale's frame, when it is due; returns when the next one is.
    void talkUnasked();
    bool takeInput();  // false when the line has failed for good
};

}  // namespace vardelmo::vscale
