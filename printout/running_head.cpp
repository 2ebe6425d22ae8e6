#include "printout/running_head.h"

#include "declaration/cp1252.h"
#include "formpage/field_model.h"
#include "xmlstore/field_list.h"

namespace f7301 {
namespace {

std::string StoredText(const CFieldList& store, const char* element) {
  const CFieldNode* node = store.Find(element);
  return node ? node->value() : std::string();
}

// The store keeps the number with its quotes.
std::string StoredNumber(const CFieldList& store) {
  const CFieldNode* node = store.Find("FORMULARIO");
  if (!node) return {};
  const std::string& quoted = node->attributeValue();
  return quoted.size() < 2 ? std::string() : quoted.substr(1, quoted.size() - 2);
}

bool StartsCharacter(unsigned char byte) { return (byte & 0xC0) != 0x80; }

// One line of at most kHeadPartLimit characters: C0 controls and DEL, which
// would break or hide the line, are dropped; the text is cut at a character
// boundary.
std::string OneLine(std::string_view text) {
  std::string line;
  std::size_t characters = 0;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) continue;
    if (StartsCharacter(byte) && ++characters > kHeadPartLimit) break;
    line += c;
  }
  return line;
}

}  // namespace

PrintedIdentity IdentityOfDeclaration(const CFieldList& store) {
  const std::string from = StoredText(store, "PERIODO_DESDE");
  return {.nit = Cp1252ToUtf8(StoredText(store, "NIT")),
          .month = Cp1252ToUtf8(DatePartOf(from, DatePart::kMonth)),
          .year = Cp1252ToUtf8(DatePartOf(from, DatePart::kYear)),
          .number = Cp1252ToUtf8(StoredNumber(store))};
}

std::string RunningHead(const PrintedIdentity& identity) {
  std::string period = OneLine(identity.month);
  const std::string year = OneLine(identity.year);
  if (!period.empty() || !year.empty()) period += "/" + year;
  return "Formulario RTQ-7301 \u00B7 NIT " + OneLine(identity.nit) + " \u00B7 Periodo " + period +
         " \u00B7 No. " + OneLine(identity.number);
}

std::string PageFoot(int page, int pages) {
  return "P\u00E1gina " + std::to_string(page) + " de " + std::to_string(pages);
}

}  // namespace f7301
