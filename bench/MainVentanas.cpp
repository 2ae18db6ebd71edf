// main() of the benchmarks that build widgets: they need a QApplication
// (run them with QT_QPA_PLATFORM=offscreen or under a display).
#include <QApplication>

#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    QApplication aplicacion(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
