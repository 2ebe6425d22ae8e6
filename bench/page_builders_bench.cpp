// Building the pages shown on reopening the largest realistic declaration
// (500 annex rows), and the blank page.
#include <benchmark/benchmark.h>

#include <string>

#include "formpage/page_builders.h"
#include "formpage/page_writer.h"
#include "tests/support/sample_declaration.h"
#include "xmlstore/xml_reader.h"

namespace {

const f7301::CFieldList& LargeStore() {
  static const f7301::CXmlReader* reader = [] {
    auto* r = new f7301::CXmlReader;
    const std::string xml = f7301::testing::DeclarationXml(f7301::testing::FullSample(500));
    r->Parse(xml.c_str(), static_cast<long>(xml.size()));
    return r;
  }();
  return reader->store();
}

template <bool (*Build)(const f7301::CFieldList&, std::string&)>
void BM_Page500Rows(benchmark::State& state) {
  const f7301::CFieldList& store = LargeStore();
  std::size_t bytes = 0;
  for (auto _ : state) {
    std::string page;
    if (!Build(store, page)) state.SkipWithError("page not built");
    bytes = page.size();
    benchmark::DoNotOptimize(page.data());
  }
  state.counters["page_bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_Page500Rows<f7301::BuildEditablePage>)
    ->Name("BM_EditablePage500Rows")
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Page500Rows<f7301::BuildReadOnlyPage>)
    ->Name("BM_ReadOnlyPage500Rows")
    ->Unit(benchmark::kMillisecond);

void BM_BlankPage(benchmark::State& state) {
  for (auto _ : state) benchmark::DoNotOptimize(f7301::WriteBlankPage());
}
BENCHMARK(BM_BlankPage)->Unit(benchmark::kMicrosecond);

}  // namespace
