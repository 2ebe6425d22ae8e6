// Writing a kept draft of a full form (500 annex rows): what the window does
// on its own thread each time the form changed, the atomic replace with its
// flushes to disk included. The folder is under the system's temporary
// folder, or under $F7301_BENCH_DIR.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "draft/draft_store.h"

namespace {

std::string FullFormRecord() {
  std::string fields = R"("c2":"19","c3":"ESTACION EL SOL","mes_ini":"01","anio_ini":"2026")";
  for (int box = 6; box <= 117; ++box) fields += ",\"c" + std::to_string(box) + "\":\"1234.50\"";
  for (int row = 1; row <= 500; ++row) {
    const std::string r = "f1" + std::to_string(row);
    fields += ",\"" + r + "c1\":\"1234567K\",\"" + r + "c2\":\"1.00\",\"" + r +
              "c3\":\"GASOLINA SUPERIOR\"";
  }
  return R"({"filas":[0,500],"campos":{)" + fields + R"(},"foco":"c6"})";
}

std::filesystem::path BenchFolder() {
  const char* chosen = std::getenv("F7301_BENCH_DIR");
  const std::filesystem::path root = chosen ? chosen : std::filesystem::temp_directory_path();
  return root / "f7301-draft-bench";
}

void BM_WriteDraft500Rows(benchmark::State& state) {
  f7301::DraftStore store(BenchFolder(), "1.1");
  if (!store.Open()) {
    state.SkipWithError("no draft folder");
    return;
  }
  f7301::Draft draft;
  draft.page = FullFormRecord();
  for (auto _ : state) {
    ++draft.savedAtMs;
    benchmark::DoNotOptimize(store.Write(1, draft));
  }
  store.Remove(1);
  state.counters["record_bytes"] = static_cast<double>(draft.page.size());
}
BENCHMARK(BM_WriteDraft500Rows)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_ParseDraft500Rows(benchmark::State& state) {
  f7301::Draft draft;
  draft.page = FullFormRecord();
  const std::string text = f7301::DraftToJson(draft);
  for (auto _ : state) benchmark::DoNotOptimize(f7301::ParseDraft(text));
}
BENCHMARK(BM_ParseDraft500Rows)->Unit(benchmark::kMicrosecond);

// A crafted draft of 100,000 fields (1.2 MB), and one as large as the reader
// takes (4 MiB of fields): read in one pass, whatever their number.
std::string DraftOfManyFields(std::size_t bytes) {
  std::string fields;
  for (int i = 0; fields.size() < bytes - 100; ++i) {
    fields += (i ? ",\"k" : "\"k") + std::to_string(i) + "\":\"\"";
  }
  return R"({"formato":"Formulario7301 borrador","version":1,"guardado_ms":1,)"
         R"("origen":{"modificar":false,"archivo":""},"pagina":{"filas":[0,3],"campos":{)" +
         fields + "}}}";
}

void BM_ParseDraftManyFields(benchmark::State& state) {
  const std::string text = DraftOfManyFields(static_cast<std::size_t>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(f7301::ParseDraft(text));
  state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_ParseDraftManyFields)
    ->Arg(1'188'900)
    ->Arg(f7301::kMaxDraftFileSize - 200)
    ->Unit(benchmark::kMillisecond);

}  // namespace
