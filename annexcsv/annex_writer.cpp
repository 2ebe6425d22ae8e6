#include "annexcsv/annex_writer.h"

#include <csv.h>

#include <algorithm>
#include <string_view>

namespace f7301 {
namespace {

constexpr char kSeparator = ';';

// Quoted, by libcsv, only when the value would otherwise be read otherwise:
// it holds the separator, a quote or a line break, or begins or ends with a
// blank that a reader would trim.
std::string Field(std::string_view value) {
  const bool plain = value.find_first_of(";\"\r\n") == std::string_view::npos &&
                     !value.starts_with(' ') && !value.ends_with(' ');
  if (plain) return std::string(value);
  std::string quoted(value.size() * 2 + 2, '\0');
  quoted.resize(csv_write(quoted.data(), quoted.size(), value.data(), value.size()));
  return quoted;
}

std::string WithDecimalComma(std::string gallons) {
  std::replace(gallons.begin(), gallons.end(), '.', ',');
  return gallons;
}

}  // namespace

std::string AnnexCsvText(const AnnexSales& sales) {
  std::string text = "\xEF\xBB\xBFNIT;Galones;Producto\r\n";
  for (const AnnexSale& sale : sales) {
    text += Field(sale.nit) + kSeparator + Field(WithDecimalComma(sale.gallons)) + kSeparator +
            Field(sale.product) + "\r\n";
  }
  return text;
}

ReplaceResult WriteAnnexCsv(const std::filesystem::path& path, const AnnexSales& sales) {
  const std::string text = AnnexCsvText(sales);
  const std::string_view pieces[] = {text};
  return ReplaceFileContents(path, pieces);
}

std::string AnnexExportFailure(const std::string& path) {
  return "Error:\nNo pudo escribirse el archivo " + path +
         ".\nVerifique que la carpeta exista y que usted pueda escribir en ella.";
}

}  // namespace f7301
