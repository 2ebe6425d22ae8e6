#include "annexcsv/annex_writer.h"

#include <algorithm>

#include "annexcsv/csv_cell.h"

namespace f7301 {
namespace {

constexpr char kSeparator = ';';

std::string WithDecimalComma(std::string gallons) {
  std::replace(gallons.begin(), gallons.end(), '.', ',');
  return gallons;
}

}  // namespace

std::string AnnexCsvText(const AnnexSales& sales) {
  std::string text = "\xEF\xBB\xBFNIT;Galones;Producto\r\n";
  for (const AnnexSale& sale : sales) {
    text += SpreadsheetCsvCell(sale.nit, kSeparator) + kSeparator +
            SpreadsheetCsvCell(WithDecimalComma(sale.gallons), kSeparator) + kSeparator +
            SpreadsheetCsvCell(sale.product, kSeparator) + "\r\n";
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
