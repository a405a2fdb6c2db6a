// What the scale hears and what it sends: enquiries in, frames out, paced at its line.
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <functional>

#include "virtual_scale/commands.h"
#include "virtual_scale/log_text.h"
#include "virtual_scale/reception.h"
#include "virtual_scale/scale_impl.h"
#include "virtual_scale/wire.h"

namespace vardelmo::vscale {
namespace {

// "toledo-b, stable 1.234 kg": what the frame says, for the log.
std::string label(const Options& options) {
    if (!options.customFrame.empty() && options.state != State::Silent) {
        return "the frame given";
    }
    return std::string(formatName(options.format)) + ", " + std::string(stateName(options.state)) +
           " " + kilograms(options.weightKg);
}

}  // namespace

LineSettings VirtualScale::Impl::clientSeen() const {
    const auto client = readClientLine(pty.slave);
    return client ? client->seen : options.line;
}

Delivery VirtualScale::Impl::deliver(const std::string& frame, Clock::time_point start,
                                     Asked asked) {
    Delivery delivery;
    if (frame.empty() || !sleepUntil(start)) {
        return delivery;
    }
    Reception reception(frame, options.line, options.mismatch, clientSeen());
    if (reception.done()) {
        delivery.clientLines = reception.clientLines();
        return delivery;
    }
    // Paced, each byte reaches the client when its UART has it, spread over the sender's
    // wire time; else the frame goes at once.
    Clock::duration late{0};
    std::size_t lost = 0;
    while (!reception.done()) {
        const auto due = start + late + reception.next().at;
        if ((options.pace && !sleepUntil(due)) || (asked == Asked::No && quiet)) {
            break;
        }
        // The byte goes on the wire now, at the client's settings of now.
        const Written done = writeOnce(
            [&] {
                reception.clientIs(clientSeen());
                return reception.done() ? std::string()
                       : options.pace   ? std::string(1, reception.next().value)
                                        : reception.rest();
            },
            asked);
        const auto now = Clock::now();
        delivery.bytes += done.bytes;
        delivery.at.insert(delivery.at.end(), done.count, now);
        reception.handedOver(done.count);
        if (done.closed) {
            return delivery;
        }
        if (!done.room) {
            lost = reception.rest().size();
            break;
        }
        // Small wake-up lateness is absorbed by the fixed schedule, so it never adds up;
        // after a long stall a line just idles, it never bursts to catch up.
        if (options.pace && now - due > byteTime() / 2) {
            late += now - due;
        }
    }
    noteWrite(lost);
    delivery.clientLines = reception.clientLines();
    if (options.pace) {
        const Clock::time_point senderDone =
            start + late + static_cast<long long>(frame.size()) * byteTime();
        lineFreeAt = std::max(lineFreeAt, senderDone);
    }
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
                                        const std::string& sent,
                                        const std::string& clientLines) const {
    if (sent == frame || frame.empty()) {
        return what;
    }
    return what + ": " + hexBytes(frame) + " at " + options.line.text() + ", as a UART at " +
           clientLines + " reads it";
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
    const auto delivery =
        deliver(exchange.frame, std::max(arrived + options.delay, lineFreeAt), Asked::Yes);
    exchange.sent = delivery.bytes;
    exchange.sentAt = delivery.at;
    log(stamp(arrived) + " enquiry from " + exchange.clientLine + ": received " +
        hexBytes(options.request) + ", sent " + hexBytes(exchange.sent) + " (" +
        garbled(what, exchange.frame, exchange.sent, delivery.clientLines) + ")");
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
    const auto delivery = deliver(bytes, std::max(due, lineFreeAt), Asked::No);
    const std::string text = "unasked to " + (client ? client->text : "unknown") + ": sent " +
                             hexBytes(delivery.bytes) + " (" +
                             garbled(what, bytes, delivery.bytes, delivery.clientLines) + ")";
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
