#pragma once
// The main of a benchmark that needs widgets: a QApplication on the offscreen platform unless
// told otherwise, then the benchmarks. Use: `int main(int argc, char** argv) { return RunQtBenchmarks(argc, argv); }`
#include <benchmark/benchmark.h>

#include <QApplication>

inline int RunQtBenchmarks(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
