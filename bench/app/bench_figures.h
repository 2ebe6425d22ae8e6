#pragma once
// The runs of an in-program benchmark and the table row they print.
#include <QtGlobal>
#include <vector>

namespace f7301::test {

// The times of one figure, one per run.
struct Figures {
  std::vector<double> ms;
  void Add(qint64 ns);
  // Prints "| what | median | fastest | slowest |" in milliseconds.
  void Print(const char* what);
};

// This process's resident memory in KiB (the browser's own processes apart);
// -1 when it cannot be read.
long ResidentKiB();

// F7301_BENCH_RUNS, or 9 when it is unset or not a positive number.
int BenchRuns();

}  // namespace f7301::test
