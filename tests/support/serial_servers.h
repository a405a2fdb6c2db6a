#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "tests/support/child_process.h"

namespace vardelmo::test_support {

// Blocks until something listens on TCP `port` of 127.0.0.1 (as /proc/net/tcp shows), or the
// patience runs out; without connecting, so a server's device stays untouched.
bool waitForListening(std::uint16_t port);

// Debian's ser2net in front of `device` with a configuration of its own: a raw TCP port and an
// RFC 2217 port, each on a free port of 127.0.0.1, the device at 9600,n,8,1 until a client
// sets it, its modem lines ignored (a pseudo-terminal has none).
class Ser2net {
public:
    explicit Ser2net(const std::string& device);
    ~Ser2net();
    Ser2net(const Ser2net&) = delete;
    Ser2net& operator=(const Ser2net&) = delete;

    bool started() const { return started_; }
    std::uint16_t rawPort() const { return rawPort_; }
    std::uint16_t rfc2217Port() const { return rfc2217Port_; }

private:
    std::string directory_;
    std::unique_ptr<ChildProcess> process_;
    std::uint16_t rawPort_ = 0;
    std::uint16_t rfc2217Port_ = 0;
    bool started_ = false;
};

// pyserial's RFC 2217 server side in front of `device` (tests/support/rfc2217_server.py).
class PyserialServer {
public:
    explicit PyserialServer(const std::string& device);
    bool started() const { return port_ != 0; }
    std::uint16_t port() const { return port_; }

private:
    std::unique_ptr<ChildProcess> process_;
    std::uint16_t port_ = 0;
};

}  // namespace vardelmo::test_support
