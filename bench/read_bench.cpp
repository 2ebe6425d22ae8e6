// Reading back the largest realistic declaration: 500 annex rows.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "tests/support/sample_declaration.h"
#include "xmlstore/xml_reader.h"

namespace {

const std::string& LargeDeclarationXml() {
  static const std::string xml = f7301::testing::DeclarationXml(f7301::testing::FullSample(500));
  return xml;
}

void BM_ParseDeclaration500Rows(benchmark::State& state) {
  const std::string& xml = LargeDeclarationXml();
  f7301::CXmlReader reader;
  reader.SetTrace(nullptr);
  for (auto _ : state) {
    reader.ReplaceStore();
    benchmark::DoNotOptimize(reader.Parse(xml.c_str(), static_cast<long>(xml.size())));
    benchmark::DoNotOptimize(reader.store().head());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * xml.size()));
  state.counters["xml_bytes"] = static_cast<double>(xml.size());
}
BENCHMARK(BM_ParseDeclaration500Rows)->Unit(benchmark::kMicrosecond);

}  // namespace
