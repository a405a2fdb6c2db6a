// One whole weight request with a wait of 0 (open, settings, enquiry, read, close) through the
// tool's QSerialPort line, beside the same steps made with bare termios calls: the floor no
// serial library can beat. The two alternate within one run so machine noise hits both alike.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

#include "bench/overhead.h"
#include "query/field_texts.h"
#include "query/weight_request.h"
#include "serial/qt_serial_line.h"
#include "virtual_scale/virtual_scale.h"

namespace vardelmo::bench {
namespace {

// The floor: open, set the line, drop stale input, send ENQ, drain, read once, close.
bool rawRequest(const std::string& path, const termios& line) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) {
        return false;
    }
    const char enq = 0x05;
    char reply[512];
    const bool ok = ::tcsetattr(fd, TCSANOW, &line) == 0 && ::tcflush(fd, TCIFLUSH) == 0 &&
                    ::write(fd, &enq, 1) == 1 && ::tcdrain(fd) == 0;
    (void)::read(fd, reply, sizeof reply);  // nothing there yet is fine: EAGAIN
    ::close(fd);
    return ok;
}

termios rawLine() {
    termios line{};
    ::cfmakeraw(&line);
    line.c_cflag |= CLOCAL | CREAD;
    ::cfsetispeed(&line, B2400);
    ::cfsetospeed(&line, B2400);
    return line;
}

void requestOverhead(benchmark::State& state) {
    vscale::Options options;
    options.pace = false;
    options.delay = std::chrono::milliseconds{0};
    std::string error;
    auto scale = vscale::VirtualScale::open(options, error);
    if (!scale) {
        state.SkipWithError(error.c_str());
        return;
    }
    query::FieldTexts fields;
    fields.portText = scale->path();
    serial::QtSerialLine line;
    const termios raw = rawLine();

    measureOverhead(
        state, "termios",
        [&] {
            const auto outcome = query::runWeightRequest(fields, line);
            return outcome.failure ? outcome.failure->description : std::string();
        },
        [&] { return rawRequest(scale->path(), raw); });
}

BENCHMARK(requestOverhead)->Iterations(2000)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
}  // namespace vardelmo::bench
