// What the scale hears and what it sends: enquiries in, frames out, paced at its line.
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "virtual_scale/commands.h"
#include "virtual_scale/log_text.h"
#include "virtual_scale/scale_impl.h"

namespace vardelmo::vscale {
namespace {

constexpr char kEnq = 0x05;
// How long a write waits for a client that has stopped reading before the bytes are dropped,
// as a line with nobody listening would lose them.
constexpr int kWriteStallMs = 200;

// "toledo-b, stable 1.234 kg": what the frame says, for the log.
std::string label(const Options& options) {
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

Delivery VirtualScale::Impl::deliver(const std::string& frame, Clock::time_point start,
                                     Asked asked) {
    Delivery delivery;
    if (frame.empty()) {
        return delivery;
    }
    if (!options.pace) {
        if (sleepUntil(start) && writeBytes(frame.data(), frame.size(), asked)) {
            delivery.bytes = frame;
            delivery.at.assign(frame.size(), Clock::now());
        }
        return delivery;
    }
    const std::chrono::nanoseconds byteTime{
        static_cast<long long>(options.bitsPerByte * 1e9 / options.baud)};
    auto due = start;
    for (const char byte : frame) {
        if (!sleepUntil(due) || (asked == Asked::No && quiet) || !writeBytes(&byte, 1, asked)) {
            break;
        }
        const auto now = Clock::now();
        delivery.bytes += byte;
        delivery.at.push_back(now);
        lineFreeAt = now + byteTime;
        // Small wake-up lateness is absorbed by the fixed schedule, so it never adds up;
        // after a long stall a line just idles, it never bursts to catch up.
        due = now - due > byteTime / 2 ? now + byteTime : due + byteTime;
    }
    return delivery;
}

void VirtualScale::Impl::answer(Clock::time_point arrived) {
    Exchange exchange;
    exchange.received = arrived;
    std::string reply;
    std::string why;
    {
        std::lock_guard lock(mutex);
        reply = frame(options.format, options.weightKg, options.state);
        why = options.state == State::Silent ? " (silent)"
              : reply.empty()                ? " (" + label(options) + ": no frame says it)"
                                             : " (" + label(options) + ")";
    }
    const auto client = readClientLine(pty.slave);
    exchange.clientBaud = client ? client->baud : 0;
    exchange.clientLine = client ? client->text : "unknown";
    if (exchange.clientBaud != options.baud) {
        why = " (the scale listens at " + std::to_string(options.baud) + " baud)";
        reply.clear();
    }
    const auto delivery = deliver(reply, std::max(arrived + options.delay, lineFreeAt), Asked::Yes);
    exchange.sent = delivery.bytes;
    exchange.sentAt = delivery.at;
    log(stamp(arrived) + " enquiry from " + exchange.clientLine + ": received 05, sent " +
        hexBytes(exchange.sent) + why);
    {
        std::lock_guard lock(mutex);
        exchanges.push_back(exchange);
    }
    changed.notify_all();
    if (options.onExchange) {
        options.onExchange(exchange);
    }
}

void VirtualScale::Impl::talkUnasked() {
    const auto due = nextUnasked;
    std::string bytes;
    std::string what;
    {
        std::lock_guard lock(mutex);
        bytes = frame(options.format, options.weightKg, options.state);
        what = label(options);
    }
    const auto client = readClientLine(pty.slave);
    if (!client || client->baud != options.baud) {
        bytes.clear();
        what = "the scale talks at " + std::to_string(options.baud) + " baud";
    }
    const auto delivery = deliver(bytes, std::max(due, lineFreeAt), Asked::No);
    const std::string text = "unasked to " + (client ? client->text : "unknown") + ": sent " +
                             hexBytes(delivery.bytes) + " (" + what + ")";
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
    {
        std::lock_guard lock(mutex);
        received.append(buffer, static_cast<std::size_t>(count));
    }
    std::string ignored;
    for (ssize_t i = 0; i < count && !interrupted(); ++i) {
        if (buffer[i] != kEnq) {
            ignored += buffer[i];
            continue;
        }
        if (!ignored.empty()) {
            log(stamp(arrived) + " ignored " + hexBytes(ignored));
            ignored.clear();
        }
        answer(arrived);
    }
    if (!ignored.empty()) {
        log(stamp(arrived) + " ignored " + hexBytes(ignored));
    }
    return true;
}

}  // namespace vardelmo::vscale
