// Benchmark main: a QApplication on the offscreen platform, then Google Benchmark.
// Each benchmark of a component has a sibling that does the same with the nearest Qt
// counterpart, so the ratio of the two is the figure to read.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFont>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    QApplication::setFont(font);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
