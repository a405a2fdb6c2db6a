#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>

#include "tests/support/patience.h"

namespace vardelmo::test_support {

// One client's connection as a fake server's script sees it.
class Peer {
public:
    explicit Peer(int fd) : fd_(fd) {}
    // The bytes that came next, as soon as some have; empty once the client has closed, or
    // when nothing came within the patience.
    std::string readSome();
    bool write(const std::string& bytes) const;
    // Blocks until the client closes its end (reading and dropping what it sends); false if it
    // keeps the connection past the patience.
    bool waitForClose();

private:
    int fd_;
};

// Something that happens once, on one thread, and that another waits for.
class Event {
public:
    void set();
    bool wait(std::chrono::milliseconds patience = kPatience);

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool set_ = false;
};

// A TCP server on a free port of 127.0.0.1 that plays `script` for each client it accepts, one
// at a time, on a thread of its own; the connection is closed when the script returns.
class FakeServer {
public:
    using Script = std::function<void(Peer&)>;
    explicit FakeServer(Script script);
    ~FakeServer();
    FakeServer(const FakeServer&) = delete;
    FakeServer& operator=(const FakeServer&) = delete;

    std::uint16_t port() const { return port_; }
    // Blocks until `count` clients have been accepted, or their scripts finished.
    bool waitForAccepted(int count, std::chrono::milliseconds patience = kPatience);
    bool waitForFinished(int count, std::chrono::milliseconds patience = kPatience);

private:
    void serve();

    Script script_;
    int listener_ = -1;
    int wake_[2] = {-1, -1};  // a pipe whose closing ends the server's thread
    std::uint16_t port_ = 0;
    std::mutex mutex_;
    std::condition_variable changed_;
    int accepted_ = 0;
    int finished_ = 0;
    std::thread thread_;
};

// A free TCP port of 127.0.0.1 that nothing listens on: connections to it are refused.
std::uint16_t refusedPort();

// A listening port whose queue is full: a connection to it is never accepted nor refused.
class FullServer {
public:
    FullServer();
    ~FullServer();
    FullServer(const FullServer&) = delete;
    FullServer& operator=(const FullServer&) = delete;
    std::uint16_t port() const { return port_; }

private:
    int listener_ = -1;
    int fillers_[4] = {-1, -1, -1, -1};
    std::uint16_t port_ = 0;
};

}  // namespace vardelmo::test_support
