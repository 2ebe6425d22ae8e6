// Reads arbitrary bytes as a declaration XML and rebuilds both form pages from
// what was read, as reopening a declaration does. Neither the reader nor the
// page builders may crash, hang or read outside their input, and the reader
// never makes entries out of nothing.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "formpage/page_builders.h"
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

  std::string page;
  if (!f7301::BuildReadOnlyPage(reader.store(), page)) page.clear();
  if (!f7301::BuildEditablePage(reader.store(), page)) page.clear();
  return 0;
}
