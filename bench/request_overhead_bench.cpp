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

#include "bench/percentiles.h"
#include "query/field_texts.h"
#include "query/weight_request.h"
#include "serial/qt_serial_line.h"
#include "virtual_scale/virtual_scale.h"

namespace vardelmo::bench {
namespace {

using Clock = std::chrono::steady_clock;

double microsecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

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

    std::vector<double> tool;
    std::vector<double> bare;
    bool toolFirst = true;
    for (auto _ : state) {
        for (int leg = 0; leg < 2; ++leg) {
            const auto start = Clock::now();
            if ((leg == 0) == toolFirst) {
                const auto outcome = query::runWeightRequest(fields, line);
                tool.push_back(microsecondsSince(start));
                if (outcome.failure) {
                    state.SkipWithError(outcome.failure->description.c_str());
                    return;
                }
            } else {
                const bool ok = rawRequest(scale->path(), raw);
                bare.push_back(microsecondsSince(start));
                if (!ok) {
                    state.SkipWithError("the raw request failed");
                    return;
                }
            }
        }
        toolFirst = !toolFirst;
    }
    const double toolMedian = percentile(tool, 50);
    const double floorMedian = percentile(bare, 50);
    state.counters["tool_median_us"] = toolMedian;
    state.counters["tool_p99_us"] = percentile(tool, 99);
    state.counters["termios_median_us"] = floorMedian;
    state.counters["termios_p99_us"] = percentile(bare, 99);
    state.counters["ratio_median"] = floorMedian > 0 ? toolMedian / floorMedian : 0;
}

BENCHMARK(requestOverhead)->Iterations(2000)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
}  // namespace vardelmo::bench
