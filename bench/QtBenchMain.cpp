// The main of the benchmarks that draw: a Qt application (offscreen unless a platform is set)
// around Google Benchmark's run. The export benchmarks run in a Qt Gui application, as a program
// that only exports does; the benchmarks of widgets build this file with QUINDLE_BENCH_WIDGETS.
#ifdef QUINDLE_BENCH_WIDGETS
#include <QApplication>
using TBenchApplication = QApplication;
#else
#include <QGuiApplication>
using TBenchApplication = QGuiApplication;
#endif

#include <benchmark/benchmark.h>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    TBenchApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
