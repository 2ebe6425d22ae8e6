#include "register/declaration_summary.h"

#include "declaration/cp1252.h"
#include "declaration/form_check.h"
#include "declaration/seal.h"
#include "formpage/field_model.h"
#include "formpage/page_writer.h"
#include "formpage/stored_boxes.h"
#include "register/content_digest.h"
#include "register/file_identity.h"
#include "xmlstore/xml_reader.h"

namespace f7301 {
namespace {

constexpr const char* kNotSealed =
    "El sello no es válido: el archivo fue alterado o no es una declaración.";
constexpr const char* kNotDeclaration = "No pertenece a una declaración.";
constexpr const char* kOtherForm = "No pertenece a un formulario RTQ-7301.";
constexpr const char* kIncomplete =
    "Le faltan datos de la declaración: Consultar no podría mostrarla.";
constexpr const char* kNoPeriod = "El periodo declarado no puede leerse.";
constexpr const char* kTooLarge = "Es demasiado grande para ser una declaración.";
constexpr const char* kCannotRead = "No pudo leerse: verifique que tenga permisos de lectura.";

SummaryResult Refused(std::string reason) { return {std::nullopt, std::move(reason), true}; }

// A failure to get at the bytes, not a judgement of them.
SummaryResult NotRead(std::string reason) { return {std::nullopt, std::move(reason), false}; }

// Windows-1252 to the UTF-8 shown, one line, bounded.
std::string Shown(std::string_view cp1252) {
  std::string text;
  std::size_t characters = 0;
  for (char c : cp1252) {
    if (characters == kMaxSummaryTextLength) break;
    const auto byte = static_cast<unsigned char>(c);
    const bool control = byte < 0x20 || byte == 0x7F || byte == 0x81 || byte == 0x8D ||
                         byte == 0x8F || byte == 0x90 || byte == 0x9D;
    text += control ? std::string(" ") : Cp1252ToUtf8(std::string_view(&c, 1));
    ++characters;
  }
  return text;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int Number(std::string_view digits) {
  int value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return value;
}

// PERIODO_DESDE holds the year, month and day: "20110301".
bool ReadPeriod(std::string_view text, int& year, int& month) {
  if (text.size() < 6) return false;
  for (std::size_t i = 0; i < 6; ++i) {
    if (!IsDigit(text[i])) return false;
  }
  year = Number(text.substr(0, 4));
  month = Number(text.substr(4, 2));
  return year >= 1 && month >= 1 && month <= 12;
}

// FECPRE holds the day the page generated the declaration, dd/mm/aaaa.
std::string GenerationDate(std::string_view text) {
  if (text.size() != 10 || text[2] != '/' || text[5] != '/') return "";
  for (std::size_t i : {0, 1, 3, 4, 6, 7, 8, 9}) {
    if (!IsDigit(text[i])) return "";
  }
  return std::string(text);
}

std::string BoxText(const CStoredBoxes& boxes, int box) {
  const CFieldNode* node = boxes.Find(box);
  return node ? node->value() : "";
}

// The store keeps NUMERO with its quotes.
std::string Unquoted(const std::string& quoted) {
  return quoted.size() < 2 ? "" : quoted.substr(1, quoted.size() - 2);
}

// The page check has seen these elements; a missing one reads empty all the same.
std::string ElementText(const CFieldList& store, std::string_view name) {
  const CFieldNode* node = store.Find(name);
  return node ? node->value() : "";
}

std::string FormNumberOf(const CFieldList& store) {
  const CFieldNode* node = store.Find("FORMULARIO");
  return node ? Unquoted(node->attributeValue()) : "";
}

const CFieldNode* GenerationBox(const CFieldList& store) {
  return store.FindByAttribute(kBoxKeyName, "\"FECPRE\"");
}

SummaryResult SummaryOfStore(const CFieldList& store) {
  switch (CheckForm7301(store)) {
    case FormCheck::kForm7301:
      break;
    case FormCheck::kNoFormCode:
    case FormCheck::kNoVersion:
      return Refused(kNotDeclaration);
    case FormCheck::kOtherForm:
      return Refused(kOtherForm);
  }
  // Consultar shows only what its page can be built from; the register
  // needs the verdict, not the page.
  const CStoredBoxes boxes(store);
  if (!ReadOnlyPageComplete(store, boxes)) return Refused(kIncomplete);

  DeclarationSummary summary;
  if (!ReadPeriod(ElementText(store, "PERIODO_DESDE"), summary.year, summary.month)) {
    return Refused(kNoPeriod);
  }
  summary.nit = Shown(ElementText(store, "NIT"));
  summary.name = Shown(ElementText(store, "NOMBRE"));
  summary.formNumber = Shown(FormNumberOf(store));
  const std::string rectifies = BoxText(boxes, kRectifiedBox);
  if (rectifies != "0") summary.rectifies = Shown(rectifies);
  summary.totalToPay = Shown(BoxText(boxes, kTotalToPayBox));
  summary.annexRows = boxes.AnnexRows();
  summary.openings.resize(kProductRowCount);
  summary.closings.resize(kProductRowCount);
  for (int p = 0; p < kProductRowCount; ++p) {
    summary.openings[p] = Shown(BoxText(boxes, kFirstGridBox + kGridColumnCount * p));
    summary.closings[p] = Shown(BoxText(boxes, kFirstGridBox + 7 + kGridColumnCount * p));
  }
  if (const CFieldNode* date = GenerationBox(store))
    summary.generated = GenerationDate(date->value());
  return {summary, "", true};
}

}  // namespace

SummaryResult SummaryOfSealedText(std::string_view text) {
  const std::optional<std::string> xml = UnsealDeclarationXml(text);
  if (!xml || xml->empty()) return Refused(kNotSealed);
  CXmlReader reader;
  reader.SetTrace(nullptr);
  reader.Parse(xml->data(), static_cast<long>(xml->size()));
  return SummaryOfStore(reader.store());
}

SummaryResult ReadDeclarationSummary(const std::filesystem::path& file, LinkPolicy links) {
  const FileIdentity identity = IdentityOf(file, links);
  if (identity.kind != FileKind::kRegular) return NotRead(KindReason(identity.kind));
  if (static_cast<std::uintmax_t>(identity.size) > kMaxDeclarationFileSize) {
    return NotRead(kTooLarge);
  }
  std::string text;
  switch (ReadWholeFile(file, text, links)) {
    case ReadStatus::kRead: {
      SummaryResult result = SummaryOfSealedText(text);
      if (result.summary) result.summary->digest = ContentDigest(text);
      return result;
    }
    case ReadStatus::kTooLarge:
      return NotRead(kTooLarge);
    case ReadStatus::kCannotRead:
      break;
  }
  // Between the look and the open it may have become something else.
  const FileKind now = IdentityOf(file, links).kind;
  return NotRead(now == FileKind::kRegular ? kCannotRead : KindReason(now));
}

}  // namespace f7301
