// vardelmo-virtual-scale: a scale on a pseudo-terminal that answers ENQ polls.
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "virtual_scale/commands.h"
#include "virtual_scale/help.h"
#include "virtual_scale/link.h"
#include "virtual_scale/log_text.h"
#include "virtual_scale/options.h"
#include "virtual_scale/text_wrap.h"
#include "virtual_scale/virtual_scale.h"

namespace {

using namespace vardelmo::vscale;

constexpr int kUsageError = 2;
// Within 80 columns, the last left free as terminals wrap on it.
constexpr std::size_t kHelpWidth = 79;

int signalPipe[2] = {-1, -1};
int exchangePipe[2] = {-1, -1};

void onSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const auto ignored = ::write(signalPipe[1], &byte, 1);
    errno = saved;
}

void logLine(const std::string& line) {
    std::fprintf(stderr, "%s\n", line.c_str());
}

void drain(int fd) {
    char buffer[64];
    while (::read(fd, buffer, sizeof buffer) > 0) {
    }
}

void runCommand(std::string_view line, VirtualScale& scale) {
    std::string error;
    const auto command = parseCommand(line, error);
    const auto now = std::chrono::steady_clock::now();
    if (!command) {
        logLine(stamp(now) + " refused \"" + std::string(line) + "\": " + error);
        return;
    }
    if (const auto change = apply(*command, scale); !change.empty()) {
        logLine(stamp(now) + " now " + change);
    }
}

bool installSignals() {
    if (::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0 ||
        ::pipe2(exchangePipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return false;
    }
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    std::signal(SIGPIPE, SIG_IGN);  // a closed log must not kill the scale
    return sigaction(SIGINT, &action, nullptr) == 0 && sigaction(SIGTERM, &action, nullptr) == 0;
}

// Runs until a signal, or until `count` enquiries (0: no limit); stdin may end at any time.
void serve(VirtualScale& scale, const std::atomic<unsigned long>& handled, unsigned long count) {
    pollfd fds[3] = {{signalPipe[0], POLLIN, 0}, {exchangePipe[0], POLLIN, 0}, {0, POLLIN, 0}};
    std::string pending;
    for (;;) {
        if (count > 0 && handled >= count) {
            return;
        }
        if (::poll(fds, 3, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            logLine(std::string("poll: ") + std::strerror(errno));
            return;
        }
        if (fds[0].revents != 0) {
            return;
        }
        if (fds[1].revents != 0) {
            drain(exchangePipe[0]);
        }
        if (fds[2].revents == 0) {
            continue;
        }
        char buffer[512];
        const ssize_t got = (fds[2].revents & POLLNVAL) != 0 ? 0 : ::read(0, buffer, sizeof buffer);
        if (got < 0 && (errno == EINTR || errno == EAGAIN)) {
            continue;
        }
        if (got <= 0) {  // the end of stdin ends the commands, not the scale
            if (!pending.empty()) {
                runCommand(pending, scale);
            }
            pending.clear();
            fds[2].fd = -1;
            continue;
        }
        pending.append(buffer, static_cast<std::size_t>(got));
        for (auto newline = pending.find('\n'); newline != std::string::npos;
             newline = pending.find('\n')) {
            runCommand(std::string_view(pending).substr(0, newline), scale);
            pending.erase(0, newline + 1);
        }
    }
}

// The last reply may still sit unread in the terminal; a real line would deliver it.
void awaitLastReply(VirtualScale& scale, unsigned long count) {
    logLine(stamp(std::chrono::steady_clock::now()) + " " + std::to_string(count) +
            " enquiries handled; ending once the last reply is read");
    if (!scale.waitUntilDelivered(std::chrono::seconds(10))) {
        logLine("the last reply was not read; ending anyway");
    }
}

}  // namespace

int main(int argc, char** argv) {
    const auto parsed = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.ok) {
        std::fprintf(stderr, "vardelmo-virtual-scale: %s\nTry --help.\n", parsed.refusal.c_str());
        return kUsageError;
    }
    if (parsed.commandLine.help) {
        const std::string help = refill(helpText(), kHelpWidth);
        std::fwrite(help.data(), 1, help.size(), stdout);
        return 0;
    }
    if (parsed.commandLine.version) {
        std::printf("vardelmo-virtual-scale %s\n", VARDELMO_VERSION);
        return 0;
    }
    const std::string& link = parsed.commandLine.scale.linkPath;
    if (const auto other = link.empty() ? std::nullopt : scaleBehind(link)) {
        std::fprintf(stderr, "vardelmo-virtual-scale: %s is the link of another scale, %s\n",
                     link.c_str(), other->c_str());
        return kUsageError;
    }
    if (!installSignals()) {
        std::fprintf(stderr, "vardelmo-virtual-scale: %s\n", std::strerror(errno));
        return 1;
    }

    std::atomic<unsigned long> handled = 0;
    Options options = parsed.commandLine.scale;
    options.log = logLine;
    options.onExchange = [&handled](const Exchange&) {
        ++handled;
        const char byte = 1;
        [[maybe_unused]] const auto ignored = ::write(exchangePipe[1], &byte, 1);
    };
    std::string error;
    auto scale = VirtualScale::open(options, error);
    if (!scale) {
        std::fprintf(stderr, "vardelmo-virtual-scale: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", scale->path().c_str());
    std::fflush(stdout);

    const unsigned long count = parsed.commandLine.count;
    serve(*scale, handled, count);
    if (count > 0 && handled >= count) {
        awaitLastReply(*scale, count);
    }
    scale.reset();  // joins the thread, closes the terminal, removes the link
    return 0;
}
