// Times the XML reader over one text, a fresh store each time, as a
// reopening reads a declaration.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "xmlstore/xml_reader.h"

namespace f7301::bench {

inline void ParseEachTime(benchmark::State& state, const std::string& xml) {
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

}  // namespace f7301::bench
