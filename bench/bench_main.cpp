#include <benchmark/benchmark.h>

#include <QCoreApplication>

// QSerialPort's notifiers want an application object on the main thread, as the
// tool's window provides; the benchmarks drive the line exactly as the window does.
int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
