// Reads arbitrary bytes as a declaration XML. The reader must never crash,
// hang or read outside its input, and never make entries out of nothing.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "xmlstore/xml_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Parse expects a terminated text, as the file reader hands it over.
  const std::string text(reinterpret_cast<const char*>(data), size);
  f7301::CXmlReader reader;
  reader.SetTrace(nullptr);
  const bool parsed = reader.Parse(text.c_str(), static_cast<long>(text.size()));
  if (parsed != !text.empty()) std::abort();

  // Every entry starts at a "<" of its own (a CDATA text at the section's).
  const std::size_t scanned = reader.documentText().size();
  if (text.compare(0, scanned, reader.documentText()) != 0) std::abort();
  const auto tags = static_cast<std::size_t>(
      std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(scanned), '<'));
  std::size_t entries = 0;
  for (const f7301::CFieldNode* n = reader.store().head(); n; n = n->next()) ++entries;
  if (entries > tags) std::abort();
  return 0;
}
