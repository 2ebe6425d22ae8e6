// Reading the files made to slow the XML reader down (tests/support/hostile_xml.h),
// beside the 500-row declaration of read_bench.cpp: the reader must stay
// linear in its input, whatever the input holds.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <filesystem>
#include <optional>
#include <random>
#include <string>

#include "bench/parse_each_time.h"
#include "declaration/declaration_loader.h"
#include "declaration/seal.h"
#include "tests/support/hostile_xml.h"
#include "xmlstore/xml_reader.h"
#include "xmlstore/xml_scanner.h"

namespace {

using f7301::bench::ParseEachTime;

void BM_ParseHostileNearMatches(benchmark::State& state) {
  ParseEachTime(state, f7301::testing::NearMatchesOfALongName(f7301::testing::kHostileXmlBytes));
}
BENCHMARK(BM_ParseHostileNearMatches)->Unit(benchmark::kMillisecond);

void BM_ParseHostileClosingMarkers(benchmark::State& state) {
  ParseEachTime(state, f7301::testing::NestedClosingMarkers(f7301::testing::kHostileXmlBytes));
}
BENCHMARK(BM_ParseHostileClosingMarkers)->Unit(benchmark::kMillisecond);

void BM_ParseHostileDeepNesting(benchmark::State& state) {
  ParseEachTime(state, f7301::testing::DeepNestingAroundMarkers(f7301::testing::kHostileXmlBytes,
                                                                f7301::CXmlScanner::kMaxDepth));
}
BENCHMARK(BM_ParseHostileDeepNesting)->Unit(benchmark::kMillisecond);

// Answers the file dialog with one file and keeps the rest to itself.
class ChosenFile final : public f7301::UserPrompts {
 public:
  explicit ChosenFile(std::string file) : m_file(std::move(file)) {}
  std::optional<std::string> ChooseDestinationDirectory(const std::string&) override {
    return std::nullopt;
  }
  std::optional<std::string> ChooseDeclarationFile() override { return m_file; }
  void ShowAppMessage(const std::string&) override {}
  void ShowViewMessage(const std::string&, const std::string&) override {}
  void ShowGeneratedPage(const std::string&) override {}

 private:
  std::string m_file;
};

// Consultar of a sealed file just under the read limit: read, unseal, parse.
void BM_ConsultarHostileSealedFile(benchmark::State& state) {
  std::string sealed;
  f7301::SealDeclaration(
      f7301::testing::NearMatchesOfALongName(f7301::testing::kHostileSealedXmlBytes), sealed);
  const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                     ("f7301-bench-" + std::to_string(std::random_device{}()));
  {
    std::FILE* out = std::fopen(file.c_str(), "wb");
    if (out == nullptr || std::fwrite(sealed.data(), 1, sealed.size(), out) != sealed.size()) {
      state.SkipWithError("the sealed file could not be written");
      if (out) std::fclose(out);
      return;
    }
    std::fclose(out);
  }
  for (auto _ : state) {
    ChosenFile prompts(file.string());
    f7301::CXmlReader reader;
    reader.SetTrace(nullptr);
    f7301::DeclarationLoader(prompts, reader).LoadDeclaration(f7301::LoadMode::Consultar);
    benchmark::DoNotOptimize(reader.store().head());
  }
  std::filesystem::remove(file);
  state.counters["file_bytes"] = static_cast<double>(sealed.size());
}
BENCHMARK(BM_ConsultarHostileSealedFile)->Unit(benchmark::kMillisecond);

}  // namespace
