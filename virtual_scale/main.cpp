// vardelmo-virtual-scale: a scale on a pseudo-terminal that answers ENQ polls.
#include <fcntl.h>
#include <getopt.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>

#include "virtual_scale/commands.h"
#include "virtual_scale/line_settings.h"
#include "virtual_scale/log_text.h"
#include "virtual_scale/virtual_scale.h"

namespace {

using namespace vardelmo::vscale;

constexpr int kUsageError = 2;

constexpr const char* kHelp = R"(Usage: vardelmo-virtual-scale [OPTION]...
A weighing scale on a pseudo-terminal. Prints the terminal's path alone on the first line of
standard output, then answers each ENQ (0x05) written to it with one frame. Other bytes are
logged and ignored.

  -f, --format NAME   stx5 (default): STX, five digits of grams, ETX; IIIII in motion,
                        NNNNN below zero, SSSSS above 99.999 kg
                      status: STX, sign, weight as "  1.234", letter G/M/O/U, ETX
                        (stable, motion, overload, underload)
                      line: "+  1.234 kg G" CR LF
                      ack: a single ACK (0x06)
  -w, --weight KG     the weight in kilograms, point as decimal separator (default 1.234)
  -s, --state NAME    stable (default), motion, negative, overload, or silent (never answers)
  -d, --delay MS      milliseconds from the enquiry to the first byte of the reply (default 3)
      --no-pace       send the reply at once instead of one byte per byte time
  -l, --line SETTINGS the scale's own line, "baud,parity,data,stop" (default "2400,n,8,1");
                        parity n, e, o, m or s; data bits 5 to 8; stop bits 1, 1.5 or 2.
                        Replies are paced at this line's byte time. A client whose baud
                        differs is not understood and gets no answer. A pseudo-terminal keeps
                        no parity or data bits, so only the baud is compared.
      --link PATH     also make a symbolic link PATH to the terminal, removed on exit
  -n, --count N       exit 0 once N enquiries have been handled (answered or left silent)
  -h, --help          show this help and exit

While it runs, standard input takes one change a line, applied from the next enquiry on:
  weight KG | state NAME | format NAME
A bad line is reported on standard error and changes nothing. The end of standard input does
not stop the scale; SIGINT and SIGTERM do, with exit status 0.

Each enquiry is logged on standard error: monotonic time, the client's line as the terminal
holds it, the bytes received and sent in hex.
)";

int signalPipe[2] = {-1, -1};
int exchangePipe[2] = {-1, -1};

void onSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const auto ignored = ::write(signalPipe[1], &byte, 1);
    errno = saved;
}

int usage(const std::string& message) {
    std::fprintf(stderr, "vardelmo-virtual-scale: %s\nTry --help.\n", message.c_str());
    return kUsageError;
}

template <typename Number>
bool wholeNumber(const char* text, Number& value) {
    const std::string_view view(text);
    const auto [end, ec] = std::from_chars(view.data(), view.data() + view.size(), value);
    return !view.empty() && ec == std::errc{} && end == view.data() + view.size();
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

}  // namespace

int main(int argc, char** argv) {
    Options options;
    unsigned long count = 0;
    enum { kNoPace = 256, kLink };
    const option longOptions[] = {
        {"format", required_argument, nullptr, 'f'}, {"weight", required_argument, nullptr, 'w'},
        {"state", required_argument, nullptr, 's'},  {"delay", required_argument, nullptr, 'd'},
        {"no-pace", no_argument, nullptr, kNoPace},  {"line", required_argument, nullptr, 'l'},
        {"link", required_argument, nullptr, kLink}, {"count", required_argument, nullptr, 'n'},
        {"help", no_argument, nullptr, 'h'},         {nullptr, 0, nullptr, 0},
    };
    opterr = 0;
    for (int option;
         (option = getopt_long(argc, argv, ":f:w:s:d:l:n:h", longOptions, nullptr)) != -1;) {
        const std::string value = optarg != nullptr ? optarg : "";
        switch (option) {
            case 'f':
                if (const auto format = parseFormat(value)) {
                    options.format = *format;
                    break;
                }
                return usage("unknown format \"" + value + "\" (stx5, status, line, ack)");
            case 'w':
                if (const auto kg = parseWeight(value)) {
                    options.weightKg = *kg;
                    break;
                }
                return usage("weight \"" + value + "\" is not a number of kilograms");
            case 's':
                if (const auto state = parseState(value)) {
                    options.state = *state;
                    break;
                }
                return usage("unknown state \"" + value +
                             "\" (stable, motion, negative, overload, silent)");
            case 'd': {
                unsigned ms = 0;
                if (!wholeNumber(optarg, ms) || ms > 60'000) {
                    return usage("delay \"" + value + "\" is not a whole number of ms up to 60000");
                }
                options.delay = std::chrono::milliseconds(ms);
                break;
            }
            case kNoPace:
                options.pace = false;
                break;
            case 'l': {
                std::string error;
                const auto line = parseLineSettings(value, error);
                if (!line) {
                    return usage(error);
                }
                options.baud = line->baud;
                options.bitsPerByte = line->bitsPerByte();
                break;
            }
            case kLink:
                if (value.empty()) {
                    return usage("--link needs a path");
                }
                options.linkPath = value;
                break;
            case 'n':
                if (!wholeNumber(optarg, count) || count == 0) {
                    return usage("count \"" + value + "\" is not a positive whole number");
                }
                break;
            case 'h':
                std::fputs(kHelp, stdout);
                return 0;
            case ':':
                return usage(std::string("option ") + argv[optind - 1] + " needs a value");
            default:
                return usage(std::string("unknown option ") + argv[optind - 1]);
        }
    }
    if (optind < argc) {
        return usage(std::string("unexpected argument \"") + argv[optind] + "\"");
    }
    if (!installSignals()) {
        std::fprintf(stderr, "vardelmo-virtual-scale: %s\n", std::strerror(errno));
        return 1;
    }

    std::atomic<unsigned long> handled = 0;
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
    serve(*scale, handled, count);
    if (count > 0 && handled >= count) {
        // The last reply may still sit unread in the terminal; a real line would deliver it.
        logLine(stamp(std::chrono::steady_clock::now()) + " " + std::to_string(count) +
                " enquiries handled; ending once the last reply is read");
        if (!scale->waitUntilDelivered(std::chrono::seconds(10))) {
            logLine("the last reply was not read; ending anyway");
        }
    }
    scale.reset();  // joins the thread, closes the terminal, removes the link
    return 0;
}
