#include "bench/app/bench_figures.h"

#include <QFile>
#include <algorithm>
#include <cstdio>

namespace f7301::test {

void Figures::Add(qint64 ns) { ms.push_back(double(ns) / 1e6); }

void Figures::Print(const char* what) {
  std::sort(ms.begin(), ms.end());
  std::printf("| %s | %.1f | %.1f | %.1f |\n", what, ms[ms.size() / 2], ms.front(), ms.back());
}

int BenchRuns() {
  const int runs = qEnvironmentVariableIntValue("F7301_BENCH_RUNS");
  return runs > 0 ? runs : 9;
}

long ResidentKiB() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toLong();
  }
  return -1;
}

}  // namespace f7301::test
