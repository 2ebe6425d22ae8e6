#pragma once
// What the register shows of one declaration file, read as Consultar reads
// it: the whole-file reader and its limits, the seal, the XML reader, the
// form check and the read-only page; any failure gives the reason instead.
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "declaration/whole_file.h"
#include "formpage/field_model.h"

namespace f7301 {

// Texts are UTF-8, as shown: control characters become blanks and each text
// is cut at kMaxSummaryTextLength characters, so a crafted file cannot put
// line breaks or megabytes into a list row.
struct DeclarationSummary {
  std::string nit, name;
  int year = 0, month = 0;  // the period declared
  std::string formNumber;   // the form number the declaration holds (8 digits as written)
  std::string rectifies;    // box 1619 as stored ("7301" + 8 digits); empty when "0" or empty
  std::string totalToPay;   // box 1621 as stored
  int annexRows = 0;
  std::string generated;  // date of generation, dd/mm/aaaa; empty when not of that shape
  // Each product's opening (box 6 + 8p) and closing (box 13 + 8p) balance as
  // stored, kProductRowCount of each: a month is checked against the month
  // before with them. A list row holds neither, nor the digest: 12,000 rows
  // would carry 26 texts each for nothing (a row copies the other fields one
  // by one, in register_rows.cpp: a field added here is added there).
  std::vector<std::string> openings, closings;
  std::string digest;  // ContentDigest of the file's bytes; empty from a text alone
  bool operator==(const DeclarationSummary&) const = default;
};

inline constexpr std::size_t kMaxSummaryTextLength = 200;

struct SummaryResult {
  std::optional<DeclarationSummary> summary;
  std::string reason;  // why there is no summary (Spanish, for the user)
  // The file's bytes were read and judged. When not (no permission, gone,
  // too large, not a regular file) the reading says nothing of the bytes
  // and must not be kept: the file is looked at again next time.
  bool bytesRead = true;
};

// `links` kRefuse for files found in folders, kFollow for a file the user opened.
SummaryResult ReadDeclarationSummary(const std::filesystem::path& file,
                                     LinkPolicy links = LinkPolicy::kRefuse);

// The same from the file's text (as read, up to its first zero byte).
SummaryResult SummaryOfSealedText(std::string_view text);

}  // namespace f7301
