#include "annexcsv/annex_reader.h"

#include <optional>
#include <utility>

#include "annexcsv/annex_values.h"
#include "annexcsv/bounded_file.h"
#include "annexcsv/csv_cell.h"
#include "annexcsv/csv_records.h"
#include "annexcsv/quoted_cell.h"
#include "annexcsv/text_encoding.h"
#include "formpage/field_model.h"

namespace f7301 {
namespace {

constexpr std::size_t kColumns = kAnnexColumnCount;
// The lines with data read at most: an Excel "sep=" line, the column titles,
// and one row more than the annex holds; no more rows than that are taken. A
// file with more is refused whole by the form whatever its rows hold, so the
// rest is never parsed (a megabyte of short lines took seconds).
constexpr std::size_t kMostLinesRead = static_cast<std::size_t>(kMaxAnnexRows) + 3;

constexpr const char* kNotText =
    "Error:\nEl archivo no est\xC3\xA1 escrito en UTF-8 ni en Windows-1252.\n"
    "Gu\xC3\xA1rdelo como texto CSV en una de esas codificaciones e int\xC3\xA9ntelo de nuevo.";
constexpr const char* kNoRows = "Error:\nEl archivo no contiene renglones para el anexo.";
constexpr const char* kTooLarge =
    "Error:\nEl archivo es demasiado grande para ser un anexo de ventas exentas.";
constexpr const char* kBrokenQuotes =
    "Las comillas de un campo no se cierran correctamente; no se ley\xC3\xB3 el resto del archivo.";

bool IsEmpty(const std::vector<std::string>& fields) {
  for (const std::string& f : fields) {
    if (!f.empty()) return false;
  }
  return true;
}

bool HasDigit(std::string_view text) {
  return text.find_first_of("0123456789") != std::string_view::npos;
}

// Column titles: a first line with a title's words and no digit in its NIT
// and gallons. Empty cells alone make no header: they are a sale begun.
bool IsHeader(const CsvRecord& record) {
  if (record.fields.size() < 2 || HasDigit(record.fields[0]) || HasDigit(record.fields[1])) {
    return false;
  }
  for (std::size_t i = 0; i < record.fields.size() && i < kColumns; ++i) {
    if (HasTitleWord(record.fields[i])) return true;
  }
  return false;
}

// The position in the file of each annex column, when every cell of the
// first line names a different one of them.
std::optional<std::array<int, 3>> NamedColumns(const CsvRecord& record) {
  if (!HasFields(record, kColumns)) return std::nullopt;
  std::array<int, 3> inFile = {0, 0, 0};
  for (std::size_t position = 0; position < kColumns; ++position) {
    const auto column = AnnexColumnNamed(record.fields[position]);
    if (!column || inFile[*column] != 0) return std::nullopt;
    inFile[*column] = static_cast<int>(position) + 1;
  }
  return inFile;
}

// A tab or line break in a product: the page refuses it, as it would
// refuse it in a NIT, instead of its being matched without it.
bool HasBreak(std::string_view text) {
  return text.find_first_of("\t\r\n") != std::string_view::npos;
}

std::string ColumnCountProblem(std::size_t count) {
  return "Se esperaban 3 columnas (NIT, galones y producto) y la l\xC3\xADnea tiene " +
         std::to_string(count) + ".";
}

std::string UnknownProduct(const std::string& name) {
  return "El producto " + QuotedCell(name) + " no es uno de los productos del anexo.";
}

// A cell's text, without the apostrophe a spreadsheet or the export put
// before it to keep it from being a formula.
std::string Cell(const CsvRecord& record, std::size_t column) {
  return std::string(WithoutTextMark(record.fields[column]));
}

class SaleReader {
 public:
  SaleReader(AnnexFile& file, char separator) : m_file(file), m_mark(separator) {}

  // A first line that names the columns is no sale: it sets their order.
  bool TakeTitles(const CsvRecord& record) {
    const auto named = NamedColumns(record);
    if (!named) return false;
    m_file.columnInFile = *named;
    m_file.columnsNamed = true;
    return true;
  }

  void Take(const CsvRecord& record) {
    const std::size_t problemsBefore = m_file.problems.size();
    if (!HasFields(record, kColumns)) {
      Problem(record.line, 0, ColumnCountProblem(record.fields.size()));
    } else {
      TakeSale(record);
    }
    if (m_file.problems.size() != problemsBefore) ++m_file.refusedRows;
  }

 private:
  void TakeSale(const CsvRecord& record) {
    AnnexSale sale{record.line, Column(record, 0), Column(record, 1), Column(record, 2)};
    bool fit = true;
    const DecimalMark::Gallons gallons = m_mark.Read(sale.gallons);
    sale.gallons = gallons.text;
    if (!gallons.problem.empty()) fit = Problem(record.line, 2, gallons.problem);
    // An empty product is the page's to report, as for a row typed in.
    if (!sale.product.empty() && !HasBreak(sale.product)) {
      if (auto product = MatchAnnexProduct(sale.product)) {
        sale.product = *product;
      } else {
        fit = Problem(record.line, 3, UnknownProduct(sale.product));
      }
    }
    if (fit) m_file.sales.push_back(std::move(sale));
  }

  std::string Column(const CsvRecord& record, std::size_t column) const {
    return Cell(record, static_cast<std::size_t>(m_file.columnInFile[column] - 1));
  }

  // Records a fault of the line; false, for "the row does not fit".
  bool Problem(int line, int column, std::string message) {
    m_file.problems.push_back({line, column, std::move(message), false});
    return false;
  }

  AnnexFile& m_file;
  DecimalMark m_mark;
};

}  // namespace

AnnexFile ReadAnnexCsv(std::string_view bytes) {
  AnnexFile file;
  const auto text = DecodeAnnexText(bytes);
  if (!text) {
    file.refusal = kNotText;
    return file;
  }
  const std::optional<char> named = NamedSeparator(*text);
  file.separator = named ? *named : DetectSeparator(*text, kColumns, kMostLinesRead);
  const CsvRecords read = ReadCsvRecords(*text, file.separator, false, kMostLinesRead);
  SaleReader reader(file, file.separator);
  bool first = true;
  for (const CsvRecord& record : read.records) {
    if (file.RowCount() > kMaxAnnexRows) break;  // the form refuses the file whole already
    if (IsEmpty(record.fields) || (named && record.line == 1)) continue;
    if (std::exchange(first, false) && (reader.TakeTitles(record) || IsHeader(record))) continue;
    reader.Take(record);
  }
  if (read.brokenLine) {
    file.problems.push_back({*read.brokenLine, 0, kBrokenQuotes, false});
    ++file.refusedRows;
  }
  if (file.RowCount() == 0) file.refusal = kNoRows;
  return file;
}

AnnexFile ReadAnnexCsvFile(const std::filesystem::path& path) {
  std::string bytes;
  const BoundedRead read = ReadBoundedFile(path, kMaxAnnexFileSize, bytes);
  if (read == BoundedRead::kRead) return ReadAnnexCsv(bytes);
  const std::u8string name8 = path.u8string();
  const std::string name(name8.begin(), name8.end());
  AnnexFile file;
  switch (read) {
    case BoundedRead::kTooLarge:
      file.refusal = kTooLarge;
      break;
    case BoundedRead::kNotAFile:
      file.refusal =
          "Error:\nNo pudo leerse el archivo " + name +
          "\nNo es un archivo de datos sino una carpeta, un dispositivo o una tuber\xC3\xAD"
          "a.";
      break;
    default:
      file.refusal = "Error:\nNo pudo leerse el archivo " + name;
  }
  return file;
}

}  // namespace f7301
