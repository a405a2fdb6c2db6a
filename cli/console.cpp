#include "cli/console.h"

#include <csignal>
#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

namespace vardelmo::cli {

#ifdef _WIN32
namespace {

// The C run-time on Windows opens the standard streams in text mode, which writes every "\n" as
// "\r\n": "--query --raw" would no longer write the reply's bytes unchanged, nor "--hex" the same
// line as elsewhere. Binary mode is set before main() runs, for whatever writes to them; the
// program links this file through its writers below, which its entry calls.
const bool binaryStreams = [] {
    return _setmode(_fileno(stdout), _O_BINARY) != -1 && _setmode(_fileno(stderr), _O_BINARY) != -1;
}();

}  // namespace
#endif

#ifdef SIGPIPE
namespace {

// A reader gone (`| head -1`) must end the program through a failed write, named and with its
// status, not through a signal that kills it silently: then nothing is lost without a word.
const bool pipesFailWrites = [] { return std::signal(SIGPIPE, SIG_IGN) != SIG_ERR; }();

}  // namespace
#endif

bool writeOutput(std::string_view bytes) {
    const std::size_t written = std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    return std::fflush(stdout) == 0 && written == bytes.size();
}

void writeErrorLine(std::string_view line) {
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fputc('\n', stderr);
    std::fflush(stderr);
}

Streams& consoleStreams() {
    class Console final : public Streams {
    public:
        bool out(std::string_view bytes) override { return writeOutput(bytes); }
        void errLine(std::string_view line) override { writeErrorLine(line); }
    };
    static Console console;
    return console;
}

}  // namespace vardelmo::cli
