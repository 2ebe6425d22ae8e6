// The register's reading of a declaration file must take any bytes, as a
// file's text or sealed as its XML, without reading outside them, and what
// it lets into the list must be what the list can show: one line of at most
// kMaxSummaryTextLength characters per text, a real period, at most 500
// annex rows. The rules and the export then take that summary as any other.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "declaration/seal.h"
#include "register/declaration_file_name.h"
#include "register/declaration_summary.h"
#include "register/register_csv.h"
#include "register/register_rows.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

std::size_t Characters(std::string_view utf8) {
  std::size_t n = 0;
  for (char c : utf8) n += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return n;
}

void CheckShown(const std::string& text) {
  Check(Characters(text) <= f7301::kMaxSummaryTextLength);
  for (char c : text) Check(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
}

void CheckSummary(const f7301::SummaryResult& read) {
  if (!read.summary) {
    Check(!read.reason.empty());
    return;
  }
  const f7301::DeclarationSummary& s = *read.summary;
  for (const std::string* text :
       {&s.nit, &s.name, &s.formNumber, &s.rectifies, &s.totalToPay, &s.generated}) {
    CheckShown(*text);
  }
  Check(s.year >= 1 && s.year <= 9999 && s.month >= 1 && s.month <= 12);
  Check(s.annexRows >= 0 && s.annexRows <= 500);
  Check(s.rectifies != "0");

  // The declaration and a copy of it: one line each in the export, and
  // never a line more for what the texts hold.
  std::vector<f7301::FoundDeclaration> found = {{"/a", 1, s, ""}, {"/b", 2, s, ""}};
  const std::vector<f7301::RegisterRow> rows = f7301::BuildRegisterRows(found);
  Check(rows.size() == 2);
  Check(rows[0].state == f7301::FilingState::kDuplicada);
  Check(rows[1].state == f7301::FilingState::kVigente);
  const std::string csv = f7301::RegisterCsv(rows);
  std::size_t lines = 0;
  for (std::size_t at = csv.find("\r\n"); at != std::string::npos; at = csv.find("\r\n", at + 2)) {
    ++lines;
  }
  Check(lines == 3);
}

// Up to 4 MiB of `rest` over and over: inputs as large as a declaration
// file may be, whatever libFuzzer's mutations reach.
std::string Repeated(std::string_view rest) {
  constexpr std::size_t kLarge = 4u * 1024u * 1024u;
  std::string text;
  if (rest.empty()) return text;
  text.reserve(kLarge);
  while (text.size() + rest.size() <= kLarge) text.append(rest);
  return text;
}

}  // namespace

// The first byte chooses: bit 0 set, the rest is the XML, sealed here so the
// reader gets past the seal; clear, the rest is the file's text. Bit 1 set,
// the rest is first repeated up to 4 MiB.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
  (void)f7301::IsDeclarationFileName(rest.substr(0, 300));
  const std::string large = (data[0] & 2) != 0 ? Repeated(rest) : std::string();
  if ((data[0] & 2) != 0) rest = large;
  if ((data[0] & 1) == 0) {
    CheckSummary(f7301::SummaryOfSealedText(rest));
    return 0;
  }
  std::string sealed;
  if (!f7301::SealDeclaration(rest, sealed)) return 0;
  CheckSummary(f7301::SummaryOfSealedText(sealed));
  return 0;
}
