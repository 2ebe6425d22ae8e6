#include "annexcsv/annex_report.h"

#include <algorithm>
#include <array>
#include <vector>

namespace f7301 {
namespace {

// A message of the page as one line of the list: without its "Error:" title
// and with its own line breaks run together.
std::string OneLine(std::string message) {
  constexpr std::string_view kTitle = "Error:\n";
  if (message.starts_with(kTitle)) message.erase(0, kTitle.size());
  std::replace(message.begin(), message.end(), '\n', ' ');
  const auto end = message.find_last_not_of(' ');
  message.erase(end == std::string::npos ? 0 : end + 1);
  return message;
}

// Problems name the annex's column; the user reads the file's.
using FileColumns = std::array<int, 3>;

std::string Where(const AnnexProblem& p, const FileColumns& columns) {
  std::string where = "L\xC3\xADnea " + std::to_string(p.line);
  if (p.column >= 1 && p.column <= 3) {
    where += ", columna " + std::to_string(columns[static_cast<std::size_t>(p.column - 1)]);
  }
  return where + ": ";
}

std::string Listed(AnnexProblems problems, const FileColumns& columns) {
  std::stable_sort(problems.begin(), problems.end(), [](const auto& x, const auto& y) {
    return x.line != y.line ? x.line < y.line : x.column < y.column;
  });
  std::string list;
  const int count = static_cast<int>(problems.size());
  for (int i = 0; i < std::min(count, kListedProblems); ++i) {
    list += "\n" + Where(problems[i], columns) + OneLine(problems[i].message);
  }
  if (count > kListedProblems) {
    const int more = count - kListedProblems;
    list += "\n... y " + std::to_string(more) +
            (more == 1 ? " problema m\xC3\xA1s." : " problemas m\xC3\xA1s.");
  }
  return list;
}

AnnexProblems Only(const AnnexProblems& problems, bool warnings) {
  AnnexProblems chosen;
  for (const AnnexProblem& p : problems) {
    if (p.warning == warnings) chosen.push_back(p);
  }
  return chosen;
}

// A file read in the usual order whose gallons or products were refused
// may hold its columns in another order.
bool MayBeOtherOrder(const AnnexFile& file, const AnnexProblems& errors) {
  return !file.columnsNamed && std::any_of(errors.begin(), errors.end(), [](const auto& p) {
    return p.column == 2 || p.column == 3;
  });
}

constexpr const char* kExpectedOrder =
    "\n\nLas columnas se leen en el orden NIT, Galones, Producto. Si el archivo las tiene en "
    "otro orden, escriba sus t\xC3\xADtulos en la primera l\xC3\xADnea (por ejemplo "
    "\"NIT;Producto;Galones\").";

std::string Rows(int n) { return std::to_string(n) + (n == 1 ? " rengl\xC3\xB3n" : " renglones"); }

}  // namespace

std::string AnnexImportReport(const AnnexFile& file, const AnnexImportAnswer& answer) {
  if (!answer.refusal.empty()) return answer.refusal;
  AnnexProblems errors = file.problems;
  const AnnexProblems pageErrors = Only(answer.problems, false);
  errors.insert(errors.end(), pageErrors.begin(), pageErrors.end());
  if (!errors.empty()) {
    return "Error:\nNo se import\xC3\xB3 ning\xC3\xBAn rengl\xC3\xB3n: corrija en el archivo " +
           std::string(errors.size() == 1 ? "este problema" : "estos problemas") +
           " e imp\xC3\xB3rtelo de nuevo." + Listed(errors, file.columnInFile) +
           (MayBeOtherOrder(file, errors) ? kExpectedOrder : "");
  }
  std::string report = (answer.imported == 1 ? "Se import\xC3\xB3 " : "Se importaron ") +
                       Rows(answer.imported) + " al anexo, a partir del rengl\xC3\xB3n " +
                       std::to_string(answer.firstRow) + ".";
  const AnnexProblems warnings = Only(answer.problems, true);
  if (!warnings.empty()) {
    report +=
        "\n\nRevise estos avisos; los valores se importaron tal como est\xC3\xA1n en el archivo:" +
        Listed(warnings, file.columnInFile);
  }
  return report;
}

namespace {

// "2", "2 y 5", "2, 5 y 9", the first ten of a longer list "y otros N".
std::string RowNumbers(const std::vector<int>& rows) {
  constexpr std::size_t kNamed = 10;
  const std::size_t named = std::min(rows.size(), kNamed);
  std::string list;
  for (std::size_t i = 0; i < named; ++i) {
    if (i > 0) list += (i + 1 == named && rows.size() <= kNamed) ? " y " : ", ";
    list += std::to_string(rows[i]);
  }
  if (rows.size() > kNamed) list += " y otros " + std::to_string(rows.size() - kNamed);
  return list;
}

}  // namespace

std::string AnnexExportReport(int rows, const std::string& path,
                              const std::vector<int>& incomplete) {
  const std::string exported = (rows == 1 ? "Se export\xC3\xB3 " : "Se exportaron ") + Rows(rows);
  if (incomplete.empty()) return exported + " del anexo al archivo " + path + ".";
  const std::string left = incomplete.size() == 1
                               ? "el rengl\xC3\xB3n " + RowNumbers(incomplete) +
                                     " est\xC3\xA1 incompleto y no se export\xC3\xB3."
                               : "los renglones " + RowNumbers(incomplete) +
                                     " est\xC3\xA1n incompletos y no se exportaron.";
  return exported + "; " + left + "\n\nArchivo: " + path;
}

}  // namespace f7301
