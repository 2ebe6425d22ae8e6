// Sealing and unsealing the largest realistic declaration: 500 annex rows.
#include <benchmark/benchmark.h>

#include <string>

#include "declaration/seal.h"
#include "tests/support/sample_declaration.h"

namespace {

const std::string& LargeXml() {
  static const std::string xml = f7301::testing::DeclarationXml(f7301::testing::FullSample(500));
  return xml;
}

const f7301::LocalTime kMoment{2011, 3, 5, 14, 30, 15, 250, 6, 63};

void BM_SealDeclaration500Rows(benchmark::State& state) {
  const std::string& xml = LargeXml();
  for (auto _ : state) {
    std::string sealed;
    benchmark::DoNotOptimize(f7301::SealDeclaration(xml, kMoment, sealed));
    benchmark::DoNotOptimize(sealed.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * xml.size()));
  state.counters["xml_bytes"] = static_cast<double>(xml.size());
}
BENCHMARK(BM_SealDeclaration500Rows)->Unit(benchmark::kMicrosecond);

void BM_Unseal500Rows(benchmark::State& state) {
  std::string sealed;
  if (!f7301::SealDeclaration(LargeXml(), kMoment, sealed)) {
    state.SkipWithError("nothing sealed");
    return;
  }
  const f7301::CSeal seal;
  for (auto _ : state) {
    std::string block;
    benchmark::DoNotOptimize(seal.Unseal(sealed, &block, nullptr));
    benchmark::DoNotOptimize(block.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * sealed.size()));
  state.counters["sealed_bytes"] = static_cast<double>(sealed.size());
}
BENCHMARK(BM_Unseal500Rows)->Unit(benchmark::kMicrosecond);

}  // namespace
