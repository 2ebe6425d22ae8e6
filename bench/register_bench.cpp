// The register of declarations over the benchmark folder of 12,000 sealed
// declarations (100 taxpayers × 10 years × 12 months, a tenth with 500 annex
// rows): the first scan with an empty index, and a rescan with nothing
// changed. The folder is made once per run, in the temporary directory.
#include <benchmark/benchmark.h>

#include <atomic>
#include <filesystem>
#include <random>

#include "bench/register_files/register_files.h"
#include "register/catalog.h"

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

}  // namespace
}  // namespace f7301
