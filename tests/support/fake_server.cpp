#include "tests/support/fake_server.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

namespace vardelmo::test_support {
namespace {

using Clock = std::chrono::steady_clock;

// A socket bound to a free port of 127.0.0.1; -1 when none could be made.
int boundSocket(std::uint16_t& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -1;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(fd);
        return -1;
    }
    port = ntohs(address.sin_port);
    return fd;
}

int msLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(left.count(), 0));
}

}  // namespace

std::string Peer::readSome() {
    pollfd entry{fd_, POLLIN, 0};
    if (::poll(&entry, 1, static_cast<int>(kPatience.count())) <= 0) {
        return {};
    }
    char buffer[4096];
    const auto n = ::read(fd_, buffer, sizeof buffer);
    return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string{};
}

void Event::set() {
    {
        const std::lock_guard lock(mutex_);
        set_ = true;
    }
    changed_.notify_all();
}

bool Event::wait(std::chrono::milliseconds patience) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, patience, [&] { return set_; });
}

bool Peer::write(const std::string& bytes) const {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const auto n = ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool Peer::waitForClose() {
    const auto deadline = Clock::now() + kPatience;
    while (true) {
        pollfd entry{fd_, POLLIN, 0};
        if (::poll(&entry, 1, msLeft(deadline)) <= 0) {
            return false;
        }
        char buffer[4096];
        if (::read(fd_, buffer, sizeof buffer) <= 0) {
            return true;
        }
    }
}

FakeServer::FakeServer(Script script) : script_(std::move(script)) {
    listener_ = boundSocket(port_);
    if (listener_ < 0 || ::listen(listener_, 4) != 0 || ::pipe2(wake_, O_CLOEXEC) != 0) {
        port_ = 0;
        return;
    }
    thread_ = std::thread([this] { serve(); });
}

FakeServer::~FakeServer() {
    if (wake_[1] >= 0) {
        ::close(wake_[1]);
    }
    if (thread_.joinable()) {
        thread_.join();
    }
    for (const int fd : {listener_, wake_[0]}) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
}

void FakeServer::serve() {
    while (true) {
        pollfd entries[2] = {{listener_, POLLIN, 0}, {wake_[0], POLLIN, 0}};
        if (::poll(entries, 2, -1) <= 0 || entries[1].revents != 0) {
            return;
        }
        const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client < 0) {
            continue;
        }
        const int one = 1;
        (void)::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        {
            const std::lock_guard lock(mutex_);
            ++accepted_;
        }
        changed_.notify_all();
        Peer peer(client);
        script_(peer);
        ::close(client);
        {
            const std::lock_guard lock(mutex_);
            ++finished_;
        }
        changed_.notify_all();
    }
}

bool FakeServer::waitForAccepted(int count, std::chrono::milliseconds patience) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, patience, [&] { return accepted_ >= count; });
}

bool FakeServer::waitForFinished(int count, std::chrono::milliseconds patience) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, patience, [&] { return finished_ >= count; });
}

std::uint16_t refusedPort() {
    std::uint16_t port = 0;
    const int fd = boundSocket(port);
    if (fd >= 0) {
        ::close(fd);  // bound, never listening: the port is free and refuses
    }
    return port;
}

FullServer::FullServer() {
    listener_ = boundSocket(port_);
    // A queue of none: the first connections fill it and the rest wait for an accept.
    if (listener_ < 0 || ::listen(listener_, 0) != 0) {
        port_ = 0;
        return;
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port_);
    for (int& filler : fillers_) {
        filler = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
        (void)::connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
    }
}

FullServer::~FullServer() {
    for (const int fd : fillers_) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    if (listener_ >= 0) {
        ::close(listener_);
    }
}

}  // namespace vardelmo::test_support
