#include "virtual_scale/virtual_scale.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

#include "virtual_scale/log_text.h"
#include "virtual_scale/pty.h"

namespace vardelmo::vscale {
namespace {

using Clock = std::chrono::steady_clock;

constexpr char kEnq = 0x05;
// How long a write waits for a client that has stopped reading before the bytes are dropped,
// as a line with nobody listening would lose them.
constexpr int kWriteStallMs = 200;

std::string linkTarget(const std::string& link) {
    char target[512];
    const ssize_t length = ::readlink(link.c_str(), target, sizeof target);
    return length > 0 ? std::string(target, static_cast<std::size_t>(length)) : std::string();
}

// A link left by a scale that was killed is replaced; anything that is not a link is kept.
bool makeLink(const std::string& link, const std::string& target, std::string& error) {
    struct stat info {};
    if (::lstat(link.c_str(), &info) == 0 && S_ISLNK(info.st_mode)) {
        ::unlink(link.c_str());
    }
    if (::symlink(target.c_str(), link.c_str()) != 0) {
        error = "cannot link " + link + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace

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
    bool vanished = false;
    bool threadDone = false;

    std::mutex writing;  // one writer at a time on the master; guards closing it too
    Clock::time_point lineFreeAt{};

    ~Impl() {
        closePty(pty);
        for (int& fd : wake) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
        if (!options.linkPath.empty() && !pty.path.empty() &&
            linkTarget(options.linkPath) == pty.path) {
            ::unlink(options.linkPath.c_str());
        }
    }

    void log(const std::string& line) const {
        if (options.log) {
            options.log(line);
        }
    }

    void poke() const {
        const char byte = 1;
        [[maybe_unused]] const auto ignored = ::write(wake[1], &byte, 1);
    }

    bool interrupted() const { return stopping || vanishing; }

    // Sleeps to an absolute deadline, so that pacing never drifts; false when told to stop.
    bool sleepUntil(Clock::time_point deadline) const {
        std::unique_lock lock(mutex);
        return !changed.wait_until(lock, deadline, [this] { return interrupted(); });
    }

    // Writes under `writing`; a client that stops reading loses the rest, as on a real line.
    bool writeBytes(const char* data, std::size_t size) {
        std::size_t lost = 0;
        {
            std::lock_guard lock(writing);
            while (size > 0 && pty.master >= 0) {
                const ssize_t done = ::write(pty.master, data, size);
                if (done > 0) {
                    data += done;
                    size -= static_cast<std::size_t>(done);
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

    void answer(Clock::time_point arrived) {
        Exchange exchange;
        exchange.received = arrived;
        std::string reply;
        {
            std::lock_guard lock(mutex);
            reply = frame(options.format, options.weightKg, options.state);
        }
        const auto client = readClientLine(pty.slave);
        exchange.clientBaud = client ? client->baud : 0;
        exchange.clientLine = client ? client->text : "unknown";
        std::string why;
        if (exchange.clientBaud != options.baud) {
            why = " (the scale listens at " + std::to_string(options.baud) + " baud)";
            reply.clear();
        } else if (reply.empty()) {
            why = " (silent)";
        }

        const auto start = std::max(arrived + options.delay, lineFreeAt);
        if (!reply.empty() && options.pace) {
            const std::chrono::nanoseconds byteTime{
                static_cast<long long>(options.bitsPerByte * 1e9 / options.baud)};
            auto due = start;
            for (const char byte : reply) {
                if (!sleepUntil(due) || !writeBytes(&byte, 1)) {
                    break;
                }
                const auto now = Clock::now();
                exchange.sent += byte;
                exchange.sentAt.push_back(now);
                lineFreeAt = now + byteTime;
                // Small wake-up lateness is absorbed by the fixed schedule, so it never adds
                // up; after a long stall a line just idles, it never bursts to catch up.
                due = now - due > byteTime / 2 ? now + byteTime : due + byteTime;
            }
        } else if (!reply.empty() && sleepUntil(start) && writeBytes(reply.data(), reply.size())) {
            exchange.sent = reply;
            exchange.sentAt.assign(reply.size(), Clock::now());
        }
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

    // False when the line has failed for good.
    bool takeInput() {
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

    void closeLine() {
        {
            std::lock_guard lock(writing);
            closePty(pty);
        }
        std::lock_guard lock(mutex);
        vanished = true;
    }

    void run() {
        pollfd fds[2] = {{pty.master, POLLIN, 0}, {wake[0], POLLIN, 0}};
        for (;;) {
            if (::poll(fds, 2, -1) < 0) {
                if (errno == EINTR) {
                    continue;
                }
                log(stamp(Clock::now()) + " poll failed: " + std::strerror(errno));
                break;
            }
            if ((fds[1].revents & POLLIN) != 0) {
                char drain[64];
                while (::read(wake[0], drain, sizeof drain) > 0) {
                }
            }
            bool stop = false;
            bool vanish = false;
            {
                std::lock_guard lock(mutex);
                stop = stopping;
                vanish = vanishing && !vanished;
            }
            if (stop) {
                break;
            }
            if (vanish) {
                closeLine();
                fds[0].fd = -1;
                changed.notify_all();
                continue;
            }
            const bool readable = (fds[0].revents & POLLIN) != 0;
            if ((readable && !takeInput()) ||
                (!readable && (fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0)) {
                // Not expected while the slave is held open; stop listening rather than spin.
                log(stamp(Clock::now()) + " the line failed; no more enquiries are heard");
                fds[0].fd = -1;
            }
        }
        std::lock_guard lock(mutex);
        threadDone = true;
        changed.notify_all();
    }
};

VirtualScale::VirtualScale(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

std::unique_ptr<VirtualScale> VirtualScale::open(const Options& options, std::string& error) {
    if (options.baud == 0 || !(options.bitsPerByte > 0) || options.delay.count() < 0) {
        error =
            "the scale's line needs a positive baud and bits per byte, and a delay of 0 or more";
        return nullptr;
    }
    auto impl = std::make_unique<Impl>();
    impl->options = options;
    if (::pipe2(impl->wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        error = std::string("pipe: ") + std::strerror(errno);
        impl->options.linkPath.clear();
        return nullptr;
    }
    auto pty = openPty(options.baud, error);
    if (!pty) {
        impl->options.linkPath.clear();
        return nullptr;
    }
    impl->pty = *pty;
    if (!options.linkPath.empty() && !makeLink(options.linkPath, impl->pty.path, error)) {
        impl->options.linkPath.clear();
        return nullptr;
    }
    impl->thread = std::thread([raw = impl.get()] { raw->run(); });
    return std::unique_ptr<VirtualScale>(new VirtualScale(std::move(impl)));
}

VirtualScale::~VirtualScale() {
    {
        std::lock_guard lock(impl_->mutex);
        impl_->stopping = true;
    }
    impl_->changed.notify_all();
    impl_->poke();
    impl_->thread.join();
}

const std::string& VirtualScale::path() const {
    return impl_->pty.path;
}

void VirtualScale::setWeight(double kg) {
    std::lock_guard lock(impl_->mutex);
    impl_->options.weightKg = kg;
}

void VirtualScale::setState(State state) {
    std::lock_guard lock(impl_->mutex);
    impl_->options.state = state;
}

void VirtualScale::setFormat(Format format) {
    std::lock_guard lock(impl_->mutex);
    impl_->options.format = format;
}

void VirtualScale::send(const std::string& bytes) {
    impl_->writeBytes(bytes.data(), bytes.size());
}

std::string VirtualScale::received() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->received;
}

std::vector<Exchange> VirtualScale::exchanges() const {
    std::lock_guard lock(impl_->mutex);
    return impl_->exchanges;
}

bool VirtualScale::waitForExchanges(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(impl_->mutex);
    return impl_->changed.wait_for(lock, timeout, [&] { return impl_->exchanges.size() >= count; });
}

bool VirtualScale::waitUntilDelivered(std::chrono::milliseconds timeout) const {
    // The kernel tells how much is unread but not when that changes, so look every millisecond.
    constexpr auto kLook = std::chrono::milliseconds(1);
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        int unread = 0;
        {
            std::lock_guard lock(impl_->writing);
            // A write to the master returns before the kernel has moved its bytes into the
            // slave's input queue, and FIONREAD counts only that queue: right after a write it
            // read short in 20% of tries, 85% under load. Polling the slave first makes the
            // kernel finish that move, after which FIONREAD counted every unread byte (0 short
            // in 80,000 tries, loaded). The master's TIOCOUTQ is no help: it always reads 0.
            pollfd settle{impl_->pty.slave, POLLIN, 0};
            if (impl_->pty.slave < 0 || ::poll(&settle, 1, 0) < 0 ||
                ::ioctl(impl_->pty.slave, FIONREAD, &unread) != 0) {
                return false;  // vanished: nothing can be delivered any more
            }
        }
        if (unread == 0) {
            return true;
        }
        if (Clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(kLook);
    }
}

void VirtualScale::vanish() {
    std::unique_lock lock(impl_->mutex);
    if (impl_->vanished) {
        return;
    }
    impl_->vanishing = true;
    impl_->changed.notify_all();
    impl_->poke();
    impl_->changed.wait(lock, [&] { return impl_->vanished || impl_->threadDone; });
    if (!impl_->vanished) {  // the thread is gone, so nobody else touches the fds
        lock.unlock();
        impl_->closeLine();
    }
}

}  // namespace vardelmo::vscale
