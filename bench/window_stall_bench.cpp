// The longest the window's event loop is kept from running while one press of "Peso" with a
// wait of 300 ms runs against the in-process virtual scale: a timer of interval 0 fires on
// every pass of the loop, and the longest gap between two firings, from the press until the
// reply is shown, is how long the window could neither repaint nor answer.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "bench/percentiles.h"
#include "virtual_scale/virtual_scale.h"
#include "window/form1.h"

namespace vardelmo::bench {
namespace {

using Clock = std::chrono::steady_clock;

// One press (none when `press` is false: the loop's own noise on this machine); the
// longest stall of the loop in milliseconds, or a negative value when no reply came
// within the safety limit.
double longestStall(window::Form1& form, bool press) {
    auto* button = form.findChild<QPushButton*>("Command1");
    auto* peso = form.findChild<QLineEdit*>("txtPeso");
    peso->setText("-");

    QEventLoop loop;
    Clock::time_point last = Clock::now();
    double longest = 0;
    bool shown = false;
    QTimer pass;
    pass.setInterval(0);
    QObject::connect(&pass, &QTimer::timeout, [&] {
        const auto now = Clock::now();
        longest = std::max(longest, std::chrono::duration<double, std::milli>(now - last).count());
        last = now;
    });
    // The reply is shown; a few more passes take in what follows it on the loop.
    const auto connection = QObject::connect(peso, &QLineEdit::textChanged, [&] {
        shown = true;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
    });
    if (press) {
        QTimer::singleShot(0, button, [&] {
            last = Clock::now();
            button->click();
        });
        QTimer::singleShot(10'000, &loop, &QEventLoop::quit);
    } else {
        shown = true;
        QTimer::singleShot(320, &loop, &QEventLoop::quit);
    }
    pass.start();
    loop.exec();
    pass.stop();
    QObject::disconnect(connection);
    return shown ? longest : -1;
}

void windowStall(benchmark::State& state) {
    const bool press = state.range(0) != 0;
    vscale::Options options;
    options.pace = false;
    options.delay = std::chrono::milliseconds{1};
    std::string error;
    auto scale = vscale::VirtualScale::open(options, error);
    if (!scale) {
        state.SkipWithError(error.c_str());
        return;
    }
    window::Form1 form;
    form.show();
    form.findChild<QLineEdit*>("txtPorta")->setText(QString::fromStdString(scale->path()));
    form.findChild<QLineEdit*>("txtEspera")->setText("300");

    std::vector<double> stalls;
    for (auto _ : state) {
        const double stall = longestStall(form, press);
        if (stall < 0) {
            state.SkipWithError("no reply was shown");
            return;
        }
        stalls.push_back(stall);
    }
    state.counters["stall_max_ms"] = *std::max_element(stalls.begin(), stalls.end());
    state.counters["stall_median_ms"] = percentile(stalls, 50);
}
// windowStall/1: during a request; windowStall/0: as long, with no request.
BENCHMARK(windowStall)->Arg(1)->Arg(0)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vardelmo::bench

// The window needs a widget application; the offscreen platform unless told otherwise.
int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
