// Writing to the client's terminal: what it takes, the room it lacks, what is lost.
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <functional>

#include "virtual_scale/scale_impl.h"

namespace vardelmo::vscale {
namespace {

// How long a write waits for a client that has stopped reading before the bytes are dropped,
// as a line with nobody listening would lose them.
constexpr int kWriteStallMs = 200;

}  // namespace

VirtualScale::Impl::Written VirtualScale::Impl::writeOnce(
    const std::function<std::string()>& bytesNow, Asked asked) {
    Written result;
    std::lock_guard lock(writing);
    // Decided under the lock, so that a write that waited for the lock, or for room, still
    // sends what the client's settings make of the bytes now.
    const std::string bytes = bytesNow();
    while (result.count < bytes.size() && pty.master >= 0) {
        const ssize_t done =
            ::write(pty.master, bytes.data() + result.count, bytes.size() - result.count);
        if (done > 0) {
            result.count += static_cast<std::size_t>(done);
            written += static_cast<std::uint64_t>(done);
            continue;
        }
        if (done < 0 && errno == EINTR) {
            continue;
        }
        // A full terminal: the rest goes once there is room again, decided anew, or is lost
        // when the client takes nothing within the stall.
        if (done < 0 && errno == EAGAIN) {
            {
                std::lock_guard counting(mutex);
                ++stalls;
            }
            changed.notify_all();
            pollfd out{pty.master, POLLOUT, 0};
            result.room = ::poll(&out, 1, kWriteStallMs) > 0;
        } else {
            result.room = false;
        }
        break;
    }
    if (asked == Asked::Yes) {
        writtenThroughReply = written;
    }
    result.closed = pty.master < 0;
    result.bytes = bytes.substr(0, result.count);
    return result;
}

bool VirtualScale::Impl::writeBytes(const char* data, std::size_t size, Asked asked) {
    std::size_t sent = 0;
    for (;;) {
        const Written done =
            writeOnce([&] { return std::string(data + sent, size - sent); }, asked);
        sent += done.count;
        if (done.closed) {
            return false;
        }
        if (sent == size || !done.room) {
            noteWrite(size - sent);
            return sent == size;
        }
    }
}

void VirtualScale::Impl::noteWrite(std::size_t lost) {
    std::optional<std::string> line;
    {
        std::lock_guard lock(writing);
        line = lost > 0 ? drops.dropped(lost, Clock::now()) : drops.wrote(Clock::now());
    }
    if (line) {
        log(*line);
    }
}

void VirtualScale::Impl::noteEnd() {
    std::optional<std::string> line;
    {
        std::lock_guard lock(writing);
        line = drops.end(Clock::now());
    }
    if (line) {
        log(*line);
    }
}

}  // namespace vardelmo::vscale
