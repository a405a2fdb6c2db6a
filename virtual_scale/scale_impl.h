#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "virtual_scale/pty.h"
#include "virtual_scale/request.h"
#include "virtual_scale/virtual_scale.h"
#include "virtual_scale/wire.h"

// The scale's insides, shared by virtual_scale.cpp (its life and its thread's loop) and
// replies.cpp (what it hears and what it sends). Not for any other file.
namespace vardelmo::vscale {

using Clock = std::chrono::steady_clock;

// What reached the client of one frame, and when each byte did.
struct Delivery {
    std::string bytes;
    std::vector<Clock::time_point> at;
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

    // replies.cpp
    // Writes under `writing`; a client that stops reading loses the rest, as on a real line.
    // Bytes that are no unasked frame move `writtenThroughReply` along in the same breath.
    enum class Asked { Yes, No };
    bool writeBytes(const char* data, std::size_t size, Asked asked);
    std::chrono::nanoseconds byteTime() const {
        return std::chrono::nanoseconds(
            static_cast<long long>(options.line.bitsPerByte() * 1e9 / options.line.baud));
    }
    // The frame's bytes as a client at `client` receives them, each with its time after the
    // first; with Mismatch::Silent, unchanged at the scale's byte time.
    std::vector<HeardByte> asReceived(const std::string& frame, const LineSettings& client) const;
    // Puts a frame on the scale's line from `start` on and hands the client what its UART
    // makes of it, paced or at once.
    Delivery deliver(const std::string& frame, Clock::time_point start, Asked asked,
                     const LineSettings& client);
    // `what` with, when the client got other bytes than the frame, the frame and both lines.
    std::string garbled(const std::string& what, const std::string& frame, const std::string& sent,
                        const LineSettings& client) const;
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
