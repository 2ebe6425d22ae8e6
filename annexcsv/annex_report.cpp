#include "annexcsv/annex_report.h"

#include <algorithm>

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

std::string Where(const AnnexProblem& p) {
  std::string where = "L\xC3\xADnea " + std::to_string(p.line);
  if (p.column > 0) where += ", columna " + std::to_string(p.column);
  return where + ": ";
}

std::string Listed(AnnexProblems problems) {
  std::stable_sort(problems.begin(), problems.end(), [](const auto& x, const auto& y) {
    return x.line != y.line ? x.line < y.line : x.column < y.column;
  });
  std::string list;
  const int count = static_cast<int>(problems.size());
  for (int i = 0; i < std::min(count, kListedProblems); ++i) {
    list += "\n" + Where(problems[i]) + OneLine(problems[i].message);
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
           " e imp\xC3\xB3rtelo de nuevo." + Listed(errors);
  }
  std::string report = (answer.imported == 1 ? "Se import\xC3\xB3 " : "Se importaron ") +
                       Rows(answer.imported) + " al anexo, a partir del rengl\xC3\xB3n " +
                       std::to_string(answer.firstRow) + ".";
  const AnnexProblems warnings = Only(answer.problems, true);
  if (!warnings.empty()) {
    report +=
        "\n\nRevise estos avisos; los valores se importaron tal como est\xC3\xA1n en el archivo:" +
        Listed(warnings);
  }
  return report;
}

std::string AnnexExportReport(int rows, const std::string& path) {
  return (rows == 1 ? "Se export\xC3\xB3 " : "Se exportaron ") + Rows(rows) +
         " del anexo al archivo " + path + ".";
}

}  // namespace f7301
