// Reading back the largest realistic declaration, 500 annex rows, and
// rebuilding its two form pages: what Consultar and Modificar do after unsealing.
#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "bench/parse_each_time.h"
#include "formpage/page_builders.h"
#include "tests/support/sample_declaration.h"
#include "xmlstore/xml_reader.h"

namespace {

const std::string& LargeDeclarationXml() {
  static const std::string xml = f7301::testing::DeclarationXml(f7301::testing::FullSample(500));
  return xml;
}

void BM_ParseDeclaration500Rows(benchmark::State& state) {
  f7301::bench::ParseEachTime(state, LargeDeclarationXml());
}
BENCHMARK(BM_ParseDeclaration500Rows)->Unit(benchmark::kMicrosecond);

void BM_ParseAndBuildBothPages500Rows(benchmark::State& state) {
  const std::string& xml = LargeDeclarationXml();
  f7301::CXmlReader reader;
  reader.SetTrace(nullptr);
  std::size_t pageBytes = 0;
  for (auto _ : state) {
    reader.ReplaceStore();
    reader.Parse(xml.c_str(), static_cast<long>(xml.size()));
    std::string readOnly;
    std::string editable;
    if (!f7301::BuildReadOnlyPage(reader.store(), readOnly) ||
        !f7301::BuildEditablePage(reader.store(), editable)) {
      state.SkipWithError("a page could not be built from the sample declaration");
      return;
    }
    pageBytes = readOnly.size() + editable.size();
    benchmark::DoNotOptimize(readOnly.data());
    benchmark::DoNotOptimize(editable.data());
  }
  state.counters["page_bytes"] = static_cast<double>(pageBytes);
}
BENCHMARK(BM_ParseAndBuildBothPages500Rows)->Unit(benchmark::kMicrosecond);

}  // namespace
