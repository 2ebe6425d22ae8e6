#include "bench/register_files/register_files.h"

#include <cstdio>
#include <string>

#include "tests/support/filed_declaration.h"

namespace f7301::bench {
namespace {

// A NIT whose check character passes the form's check: the digits weighted
// from the left by the length down to 2, modulo 11; "K" for 10, "0" for 11.
std::string TaxpayerNit(int taxpayer) {
  char body[16];
  std::snprintf(body, sizeof body, "9%07d", 1000 + taxpayer * 7919);
  const std::string digits = body;
  const int length = static_cast<int>(digits.size()) + 1;
  int sum = 0;
  for (int i = 0; i < static_cast<int>(digits.size()); ++i)
    sum += (digits[static_cast<std::size_t>(i)] - '0') * (length - i);
  const int r = 11 - sum % 11;
  return digits + (r == 10 ? "K" : r == 11 ? "0" : std::to_string(r));
}

std::string TaxpayerName(int taxpayer) {
  return "ESTACI\xD3N DE SERVICIO N\xDAMERO " + std::to_string(taxpayer + 1) +
         ", DISTRIBUIDORA DE COMBUSTIBLES";
}

std::string FormNumber(int filing) {
  char number[16];
  std::snprintf(number, sizeof number, "%08d", 10000000 + filing);
  return number;
}

}  // namespace

std::size_t MakeRegisterFiles(const std::filesystem::path& folder, const RegisterFilesSpec& spec) {
  const testing::SampleDeclaration full = testing::FullSample(500);
  std::size_t written = 0;
  int filing = 0;
  for (int t = 0; t < spec.taxpayers; ++t) {
    for (int y = 0; y < spec.years; ++y) {
      for (int month = 1; month <= 12; ++month, ++filing) {
        testing::SampleDeclaration d = testing::MonthlySample(
            TaxpayerNit(t), TaxpayerName(t), spec.firstYear + y, month, FormNumber(filing));
        if (spec.fullAnnexEvery > 0 && filing % spec.fullAnnexEvery == 0) {
          d.boxes = full.boxes;
          d.boxes[1619] = "";
          d.annex = full.annex;
        }
        if (!testing::FileDeclaration(folder, d).empty()) ++written;
      }
    }
  }
  return written;
}

}  // namespace f7301::bench
