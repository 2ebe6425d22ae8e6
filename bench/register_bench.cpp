// The register of declarations over the benchmark folder of 12,000 sealed
// declarations (100 taxpayers × 10 years × 12 months, a tenth with 500 annex
// rows): the first scan with an empty index, and a rescan with nothing
// changed. The folder is made once per run, in the temporary directory.
// Then the list's rules alone over as many readings held in memory.
#include <benchmark/benchmark.h>

#include <atomic>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "bench/register_files/register_files.h"
#include "register/catalog.h"
#include "register/filing_avisos.h"
#include "register/register_rows.h"

#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace f7301 {
namespace {

namespace fs = std::filesystem;

class BenchFolder {
 public:
  BenchFolder() {
    std::random_device random;
    m_root = fs::temp_directory_path() / ("f7301-register-bench-" + std::to_string(random()));
    bench::MakeRegisterFiles(m_root / "declaraciones", {});
  }
  ~BenchFolder() {
    std::error_code ignored;
    fs::remove_all(m_root, ignored);
  }
  CatalogRequest Request(unsigned readers) const {
    CatalogRequest request;
    request.folders = {m_root / "declaraciones"};
    request.cacheDir = m_root / "cache";
    request.readers = readers;
    return request;
  }

 private:
  fs::path m_root;
};

const BenchFolder& Folder() {
  static const BenchFolder folder;
  return folder;
}

void Report(benchmark::State& state, const CatalogResult& result) {
  state.counters["files"] = static_cast<double>(result.filesFound);
  state.counters["read"] = static_cast<double>(result.filesRead);
  state.counters["rows"] = static_cast<double>(result.rows.size());
}

void BM_RegisterFirstScan(benchmark::State& state) {
  const CatalogRequest request = Folder().Request(static_cast<unsigned>(state.range(0)));
  const std::atomic<bool> cancel{false};
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(request.cacheDir);
    state.ResumeTiming();
    const CatalogResult result = BuildCatalog(request, cancel, nullptr);
    Report(state, result);
  }
}
BENCHMARK(BM_RegisterFirstScan)
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(1);

void BM_RegisterRescan(benchmark::State& state) {
  const CatalogRequest request = Folder().Request(2);
  const std::atomic<bool> cancel{false};
  BuildCatalog(request, cancel, nullptr);
  for (auto _ : state) {
    const CatalogResult result = BuildCatalog(request, cancel, nullptr);
    Report(state, result);
  }
}
BENCHMARK(BM_RegisterRescan)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// 12,000 declarations read: each month in force checked against the one
// before, the rectification links, copies and missing months, on their own
// (the catalog's last step).
std::vector<FoundDeclaration> Readings(int firstYear, int lastYear) {
  std::vector<FoundDeclaration> found;
  for (int taxpayer = 0; taxpayer < 100; ++taxpayer) {
    for (int year = firstYear; year <= lastYear; ++year) {
      for (int month = 1; month <= 12; ++month) {
        DeclarationSummary s;
        s.nit = std::to_string(90000 + taxpayer);
        s.name = "CONTRIBUYENTE";
        s.year = year;
        s.month = month;
        s.formNumber = std::to_string(10000000 + year * 12 + month);
        s.openings.assign(kProductRowCount, "1500.00");
        s.closings.assign(kProductRowCount, "1500.00");
        s.digest = std::string(63, '0') + static_cast<char>('a' + month % 6);
        const auto i = static_cast<std::int64_t>(found.size());
        found.push_back({"/d/" + s.nit + "/" + s.formNumber, i, s, ""});
      }
    }
  }
  return found;
}

void BM_RegisterRows(benchmark::State& state) {
  const std::vector<FoundDeclaration> found = Readings(2015, 2024);
  for (auto _ : state) {
    const std::vector<RegisterRow> rows = BuildRegisterRows(found);
    state.counters["rows"] = static_cast<double>(rows.size());
  }
}
BENCHMARK(BM_RegisterRows)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same on two threads, as the catalog makes them.
void BM_RegisterRowsTwoThreads(benchmark::State& state) {
  const std::vector<FoundDeclaration> found = Readings(2015, 2024);
  RowOptions options;
  options.threads = 2;
  for (auto _ : state) {
    const std::vector<RegisterRow> rows = BuildRegisterRows(found, options);
    state.counters["rows"] = static_cast<double>(rows.size());
  }
}
BENCHMARK(BM_RegisterRowsTwoThreads)->Unit(benchmark::kMillisecond)->UseRealTime();

// The check of each month against the month before on its own: 12,000
// months, each one's 13 opening balances against the 13 closing balances of
// the month before. Arg 0: they follow (no aviso); 1: every product differs,
// and each month gets its aviso text.
void BM_RegisterBalanceCheck(benchmark::State& state) {
  std::vector<FoundDeclaration> found = Readings(2015, 2024);
  if (state.range(0) == 1) {
    for (std::size_t i = 0; i < found.size(); ++i) {
      found[i].summary->closings.assign(kProductRowCount, std::to_string(1000 + i) + ".25");
    }
  }
  std::size_t avisos = 0;
  for (auto _ : state) {
    avisos = 0;
    for (std::size_t i = 1; i < found.size(); ++i) {
      avisos += !BalanceAviso(*found[i].summary, *found[i - 1].summary).empty();
    }
  }
  state.counters["months"] = static_cast<double>(found.size() - 1);
  state.counters["avisos"] = static_cast<double>(avisos);
}
BENCHMARK(BM_RegisterBalanceCheck)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The heap's bytes in use (0 where it cannot be told).
double HeapBytes() {
#ifdef __GLIBC__
  const struct mallinfo2 info = mallinfo2();
  return static_cast<double>(info.uordblks + info.hblkhd);
#else
  return 0;
#endif
}

// Two crafted files per taxpayer, periods 01/0001 and 12/9999: as many rows
// as files, not the months between; and the heap the rows hold.
void BM_RegisterRowsOfImpossiblePeriods(benchmark::State& state) {
  std::vector<FoundDeclaration> found = Readings(2024, 2024);
  found.resize(40);
  for (std::size_t i = 0; i < found.size(); ++i) {
    found[i].summary->year = i % 2 == 0 ? 1 : 9999;
    found[i].summary->month = i % 2 == 0 ? 1 : 12;
  }
  for (auto _ : state) {
    const double before = HeapBytes();
    const std::vector<RegisterRow> rows = BuildRegisterRows(found);
    state.counters["rows"] = static_cast<double>(rows.size());
    state.counters["rows_heap_KiB"] = (HeapBytes() - before) / 1024;
  }
}
BENCHMARK(BM_RegisterRowsOfImpossiblePeriods)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
}  // namespace f7301
