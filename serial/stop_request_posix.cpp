#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <thread>

#include "serial/stop_request.h"

namespace vardelmo::serial {

namespace {

// Written by the handler, read by the watcher: a handler may only call what is
// async-signal-safe, so it hands the signal's number through a pipe.
std::atomic<int> pipeIn{-1};

void onSignal(int number) {
    const int saved = errno;
    const auto byte = static_cast<unsigned char>(number);
    (void)!::write(pipeIn.load(), &byte, 1);
    errno = saved;
}

}  // namespace

class StopRequests::Watcher {
public:
    explicit Watcher(std::function<void()> onStop) : onStop_(std::move(onStop)) {
        if (::pipe2(pipe_, O_CLOEXEC) != 0) {
            return;  // without a pipe the signals keep their default: they still end the program
        }
        pipeIn.store(pipe_[1]);
        struct sigaction action {};
        action.sa_handler = onSignal;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGINT, &action, &previousInt_);
        sigaction(SIGTERM, &action, &previousTerm_);
        thread_ = std::thread([this] { watch(); });
    }

    ~Watcher() {
        if (!thread_.joinable()) {
            return;
        }
        restore();
        const unsigned char wake = 0;
        (void)!::write(pipe_[1], &wake, 1);
        thread_.join();
        pipeIn.store(-1);
        ::close(pipe_[0]);
        ::close(pipe_[1]);
    }

    int exitStatus() const { return status_.load(); }

private:
    void watch() {
        unsigned char byte = 0;
        for (;;) {
            const ssize_t got = ::read(pipe_[0], &byte, 1);
            if (got < 0 && errno == EINTR) {
                continue;
            }
            if (got != 1 || byte == 0) {
                return;  // woken by the destructor
            }
            if (status_.load() == 0) {
                status_.store(128 + byte);
                restore();
                onStop_();
            }
        }
    }

    void restore() {
        sigaction(SIGINT, &previousInt_, nullptr);
        sigaction(SIGTERM, &previousTerm_, nullptr);
    }

    std::function<void()> onStop_;
    int pipe_[2] = {-1, -1};
    struct sigaction previousInt_ {};
    struct sigaction previousTerm_ {};
    std::atomic<int> status_{0};
    std::thread thread_;
};

StopRequests::StopRequests(std::function<void()> onStop)
    : watcher_(std::make_unique<Watcher>(std::move(onStop))) {}

StopRequests::~StopRequests() = default;

int StopRequests::exitStatus() const {
    return watcher_->exitStatus();
}

}  // namespace vardelmo::serial
