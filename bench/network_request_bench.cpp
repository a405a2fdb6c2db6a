// One whole weight request with a wait of 0 over socket:// on loopback (connect, enquiry, read,
// close) through the tool's network line, beside the same steps with bare socket calls: what
// the line adds to what the system's TCP costs. A server on a thread of its own takes each
// enquiry and answers nothing, as a scale that has not answered yet at the read of a wait of 0:
// a reply left unread would make each close a reset. Its queue of connections is the system's
// longest: on a loaded machine the server falls behind the requests, and a full queue drops
// the next SYN, which the system sends again only after 1 s.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "bench/overhead.h"
#include "query/field_texts.h"
#include "query/weight_request.h"
#include "serial/network_line.h"

namespace vardelmo::bench {
namespace {

sockaddr_in loopback(std::uint16_t port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    return address;
}

// Takes what each client sends until it closes.
class FrameServer {
public:
    FrameServer() {
        listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = loopback(0);
        socklen_t length = sizeof address;
        if (listener_ < 0 ||
            ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            ::listen(listener_, SOMAXCONN) != 0 ||
            ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            return;
        }
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~FrameServer() {
        stop_ = true;
        ::shutdown(listener_, SHUT_RDWR);
        if (thread_.joinable()) {
            thread_.join();
        }
        ::close(listener_);
    }
    std::uint16_t port() const { return port_; }

private:
    void serve() {
        while (!stop_) {
            const int client = ::accept(listener_, nullptr, nullptr);
            if (client < 0) {
                continue;
            }
            const int one = 1;
            (void)::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
            char buffer[64];
            while (::read(client, buffer, sizeof buffer) > 0) {
            }
            ::close(client);
        }
    }

    int listener_ = -1;
    std::uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// The floor: connect, send ENQ, read what is there, close.
bool bareRequest(std::uint16_t port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = loopback(port);
    const int one = 1;
    const char enq = 0x05;
    char reply[512];
    const bool ok =
        fd >= 0 &&
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one) == 0 &&
        ::write(fd, &enq, 1) == 1;
    (void)::recv(fd, reply, sizeof reply, MSG_DONTWAIT);  // nothing there yet is fine
    ::close(fd);
    return ok;
}

void socketRequestOverhead(benchmark::State& state) {
    FrameServer server;
    if (server.port() == 0) {
        state.SkipWithError("no loopback server");
        return;
    }
    query::FieldTexts fields;
    fields.portText = "socket://127.0.0.1:" + std::to_string(server.port());
    serial::NetworkLine line;

    measureOverhead(
        state, "sockets",
        [&] {
            const auto outcome = query::runWeightRequest(fields, line);
            return outcome.failure ? outcome.failure->description : std::string();
        },
        [&] { return bareRequest(server.port()); });
}

BENCHMARK(socketRequestOverhead)->Iterations(2000)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
}  // namespace vardelmo::bench
