// What the scale hears and what it sends: enquiries in, frames out, paced at its line.
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "virtual_scale/commands.h"
#include "virtual_scale/log_text.h"
#include "virtual_scale/scale_impl.h"
#include "virtual_scale/wire.h"

namespace vardelmo::vscale {
namespace {

// How long a write waits for a client that has stopped reading before the bytes are dropped,
// as a line with nobody listening would lose them.
constexpr int kWriteStallMs = 200;

// "toledo-b, stable 1.234 kg": what the frame says, for the log.
std::string label(const Options& options) {
    if (!options.customFrame.empty() && options.state != State::Silent) {
        return "the frame given";
    }
    return std::string(formatName(options.format)) + ", " + std::string(stateName(options.state)) +
           " " + kilograms(options.weightKg);
}

}  // namespace

bool VirtualScale::Impl::writeBytes(const char* data, std::size_t size, Asked asked) {
    std::size_t lost = 0;
    {
        std::lock_guard lock(writing);
        while (size > 0 && pty.master >= 0) {
            const ssize_t done = ::write(pty.master, data, size);
            if (done > 0) {
                data += done;
                size -= static_cast<std::size_t>(done);
                written += static_cast<std::uint64_t>(done);
                continue;
            }
            if (done < 0 && errno == EINTR) {
                continue;
            }
            pollfd out{pty.master, POLLOUT, 0};
            if (done < 0 && errno == EAGAIN && ::poll(&out, 1, kWriteStallMs) > 0) {
                continue;
            }
            lost = size;
            break;
        }
        if (asked == Asked::Yes) {
            writtenThroughReply = written;
        }
        if (pty.master < 0) {
            return false;
        }
    }
    if (lost > 0) {
        log(stamp(Clock::now()) + " dropped " + std::to_string(lost) +
            " bytes: the client is not reading");
    }
    return lost == 0;
}

std::vector<HeardByte> VirtualScale::Impl::asReceived(const std::string& frame,
                                                      const LineSettings& client) const {
    if (options.mismatch == Mismatch::Silent) {  // the same baud, or nothing is sent at all
        std::vector<HeardByte> bytes;
        for (const char byte : frame) {
            bytes.push_back({byte, static_cast<long long>(bytes.size()) * byteTime()});
        }
        return bytes;
    }
    auto bytes = overTheWire(frame, options.line, client);
    const auto first = bytes.empty() ? std::chrono::nanoseconds(0) : bytes.front().at;
    for (auto& byte : bytes) {
        byte.at -= first;
    }
    return bytes;
}

Delivery VirtualScale::Impl::deliver(const std::string& frame, Clock::time_point start, Asked asked,
                                     const LineSettings& client) {
    Delivery delivery;
    const auto bytes = asReceived(frame, client);
    if (bytes.empty()) {
        return delivery;
    }
    if (!options.pace) {
        std::string all;
        for (const auto& byte : bytes) {
            all += byte.value;
        }
        if (sleepUntil(start) && writeBytes(all.data(), all.size(), asked)) {
            delivery.bytes = all;
            delivery.at.assign(all.size(), Clock::now());
        }
        return delivery;
    }
    // Each byte reaches the client when its UART has it, spread over the sender's wire time.
    Clock::duration late{0};
    for (const auto& byte : bytes) {
        const auto due = start + late + byte.at;
        if (!sleepUntil(due) || (asked == Asked::No && quiet) ||
            !writeBytes(&byte.value, 1, asked)) {
            break;
        }
        const auto now = Clock::now();
        delivery.bytes += byte.value;
        delivery.at.push_back(now);
        // Small wake-up lateness is absorbed by the fixed schedule, so it never adds up;
        // after a long stall a line just idles, it never bursts to catch up.
        if (now - due > byteTime() / 2) {
            late += now - due;
        }
    }
    const Clock::time_point senderDone =
        start + late + static_cast<long long>(frame.size()) * byteTime();
    lineFreeAt = std::max(lineFreeAt, senderDone);
    return delivery;
}

std::string VirtualScale::Impl::currentFrame(std::string& what) const {
    what = label(options);
    if (!options.customFrame.empty()) {
        return options.state == State::Silent ? std::string() : options.customFrame;
    }
    return frame(options.format, options.weightKg, options.state);
}

void VirtualScale::Impl::record(const Exchange& exchange) {
    {
        std::lock_guard lock(mutex);
        exchanges.push_back(exchange);
    }
    changed.notify_all();
    if (options.onExchange) {
        options.onExchange(exchange);
    }
}

std::string VirtualScale::Impl::garbled(const std::string& what, const std::string& frame,
                                        const std::string& sent, const LineSettings& client) const {
    if (sent == frame || frame.empty()) {
        return what;
    }
    return what + ": " + hexBytes(frame) + " at " + options.line.text() + ", as a UART at " +
           client.text() + " reads it";
}

void VirtualScale::Impl::answer(Clock::time_point arrived, const std::string& heard) {
    Exchange exchange;
    exchange.received = arrived;
    exchange.heard = heard;
    std::string what;
    {
        std::lock_guard lock(mutex);
        exchange.frame = currentFrame(what);
        what = options.state == State::Silent ? "silent"
               : exchange.frame.empty()       ? what + ": no frame says it"
                                              : what;
    }
    const auto client = readClientLine(pty.slave);
    exchange.clientBaud = client ? client->baud : 0;
    exchange.clientLine = client ? client->text : "unknown";
    if (!client || (options.mismatch == Mismatch::Silent && client->baud != options.line.baud)) {
        what = "the scale listens at " + std::to_string(options.line.baud) + " baud";
        exchange.frame.clear();
    }
    const auto delivery = deliver(exchange.frame, std::max(arrived + options.delay, lineFreeAt),
                                  Asked::Yes, client ? client->seen : options.line);
    exchange.sent = delivery.bytes;
    exchange.sentAt = delivery.at;
    log(stamp(arrived) + " enquiry from " + exchange.clientLine + ": received " +
        hexBytes(options.request) + ", sent " + hexBytes(exchange.sent) + " (" +
        garbled(what, exchange.frame, exchange.sent, client ? client->seen : options.line) + ")");
    record(exchange);
}

// An enquiry the client sent that the scale's UART did not hear as one: a real scale stays
// silent, and so does this one.
void VirtualScale::Impl::missEnquiry(Clock::time_point arrived, const std::string& heard,
                                     const ClientLine& client) {
    Exchange exchange;
    exchange.received = arrived;
    exchange.clientBaud = client.baud;
    exchange.clientLine = client.text;
    exchange.heard = heard;
    log(stamp(arrived) + " enquiry from " + client.text + ": received " +
        hexBytes(options.request) + ", sent - (heard " + hexBytes(heard) + " at the scale's " +
        options.line.text() + ": no enquiry)");
    record(exchange);
}

void VirtualScale::Impl::talkUnasked() {
    const auto due = nextUnasked;
    std::string bytes;
    std::string what;
    {
        std::lock_guard lock(mutex);
        bytes = currentFrame(what);
    }
    const auto client = readClientLine(pty.slave);
    if (!client || (options.mismatch == Mismatch::Silent && client->baud != options.line.baud)) {
        bytes.clear();
        what = "the scale talks at " + std::to_string(options.line.baud) + " baud";
    }
    const auto seen = client ? client->seen : options.line;
    const auto delivery = deliver(bytes, std::max(due, lineFreeAt), Asked::No, seen);
    const std::string text = "unasked to " + (client ? client->text : "unknown") + ": sent " +
                             hexBytes(delivery.bytes) + " (" +
                             garbled(what, bytes, delivery.bytes, seen) + ")";
    if (text != lastUnaskedLog) {  // every frame would flood the log
        log(stamp(delivery.at.empty() ? due : delivery.at.front()) + " " + text + ", every " +
            std::to_string(options.continuous.count()) + " ms until this line changes");
        lastUnaskedLog = text;
    }
    // A period shorter than the frame keeps the line busy, never bursting to catch up.
    nextUnasked = std::max(due + options.continuous, Clock::now());
}

bool VirtualScale::Impl::takeInput() {
    char buffer[256];
    const ssize_t count = ::read(pty.master, buffer, sizeof buffer);
    if (count <= 0) {
        return count < 0 && (errno == EAGAIN || errno == EINTR);
    }
    const auto arrived = Clock::now();
    const std::string chunk(buffer, static_cast<std::size_t>(count));
    {
        std::lock_guard lock(mutex);
        received += chunk;
    }
    // The client wrote the chunk at once, so its bytes went back to back on its line.
    const auto client = readClientLine(pty.slave);
    std::string heard = chunk;
    if (client && options.mismatch == Mismatch::Wire) {
        heard.clear();
        for (const auto& byte : overTheWire(chunk, client->seen, options.line)) {
            heard += byte.value;
        }
    }
    const bool same = heard == chunk;
    if (client && !same) {
        log(stamp(arrived) + " from " + client->text + ": received " + hexBytes(chunk) +
            ", heard " + hexBytes(heard) + " at the scale's " + options.line.text());
    }
    // A request may come split over two reads; one sent but not heard as one (another baud)
    // is missed, as a real scale misses it.
    long heardCount = 0;
    for (const auto& piece : heardRequests.feed(heard)) {
        if (interrupted()) {
            break;
        }
        if (!piece.request) {
            if (same) {
                log(stamp(arrived) + " ignored " + hexBytes(piece.ignored));
            }
            continue;
        }
        answer(arrived, heard);
        ++heardCount;
    }
    long sentCount = 0;
    for (const auto& piece : sentRequests.feed(chunk)) {
        sentCount += piece.request ? 1 : 0;
    }
    for (auto missed = sentCount - heardCount; client && missed > 0 && !interrupted(); --missed) {
        missEnquiry(arrived, heard, *client);
    }
    return true;
}

}  // namespace vardelmo::vscale
