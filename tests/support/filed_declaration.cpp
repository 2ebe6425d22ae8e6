#include "tests/support/filed_declaration.h"

#include <cstdio>
#include <fstream>
#include <string_view>
#include <system_error>

#include "declaration/declaration_paths.h"
#include "declaration/seal.h"

namespace f7301::testing {
namespace {

std::string TwoDigits(int n) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d", n % 100);
  return text;
}

std::string FourDigits(int n) {
  char text[8];
  std::snprintf(text, sizeof text, "%04d", n);
  return text;
}

}  // namespace

SampleDeclaration MonthlySample(const std::string& nit, const std::string& name, int year,
                                int month, const std::string& number,
                                const std::string& rectifies) {
  SampleDeclaration d;
  d.numero = number;
  d.nit = nit;
  d.nombre = name;
  d.desde = FourDigits(year) + TwoDigits(month) + "01";
  d.hasta = FourDigits(year) + TwoDigits(month) + "28";
  d.boxes[6] = "1500.00";
  d.boxes[1619] = rectifies;
  d.boxes[1621] = std::to_string(month * 10) + ".50";
  d.monto = d.boxes[1621];
  d.fecpre = "05/" + TwoDigits(month % 12 + 1) + "/" + FourDigits(month == 12 ? year + 1 : year);
  return d;
}

std::string FiledName(const SampleDeclaration& d) {
  const std::string year = d.desde.substr(0, 4);
  return "RTQ-" + d.nit + "7301" + year.substr(2) + d.desde.substr(4, 2) + d.numero;
}

std::filesystem::path FileDeclaration(const std::filesystem::path& directory,
                                      const SampleDeclaration& d) {
  const DeclarationPaths paths =
      DeclarationPathsFor(directory, d.nit, FiledName(d).substr(std::string_view("RTQ-").size()));
  std::string sealed;
  if (!SealDeclaration(DeclarationXml(d), sealed)) return {};
  std::error_code error;
  std::filesystem::create_directories(paths.formFolder, error);
  // Not flushed to disk one by one as "Validar" does: benchmarks file
  // thousands of them.
  std::ofstream out(paths.file, std::ios::binary | std::ios::trunc);
  out.write(sealed.data(), static_cast<std::streamsize>(sealed.size()));
  out.close();
  return out ? paths.file : std::filesystem::path();
}

}  // namespace f7301::testing
