#include "file_review/review_report.h"

namespace f7301 {
namespace {

bool IsLineBreak(unsigned char c) { return c == '\n' || c == '\r'; }

bool IsBlank(unsigned char c) { return c == ' ' || c == '\t'; }

// C0 controls and DEL; the C1 controls are two bytes in UTF-8 (0xC2 0x80 to
// 0xC2 0x9F), among them the one that starts a terminal's escape sequences.
std::size_t ControlLength(const std::string& text, std::size_t at) {
  const auto c = static_cast<unsigned char>(text[at]);
  if (c < 0x20 || c == 0x7F) return 1;
  if (c == 0xC2 && at + 1 < text.size()) {
    const auto next = static_cast<unsigned char>(text[at + 1]);
    if (next >= 0x80 && next <= 0x9F) return 2;
  }
  return 0;
}

// Drops the blanks that end `line` (those before a line break).
void DropTrailingBlanks(std::string& line) {
  while (!line.empty() && line.back() == ' ') line.pop_back();
}

std::string Counted(int n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

std::string OneLine(const std::string& text) {
  std::string line;
  line.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (IsLineBreak(c)) {
      DropTrailingBlanks(line);
      while (i < text.size() && (IsLineBreak(static_cast<unsigned char>(text[i])) ||
                                 IsBlank(static_cast<unsigned char>(text[i])))) {
        ++i;
      }
      if (!line.empty() && i < text.size()) line += ' ';
      continue;
    }
    const std::size_t control = ControlLength(text, i);
    if (control > 0) {
      line += ' ';
      i += control;
      continue;
    }
    line += text[i++];
  }
  return line;
}

std::string ProblemLine(const std::string& file, const ReviewProblem& problem) {
  return OneLine(file) + ": " + OneLine(problem.clase) + ": " + OneLine(problem.donde) + ": " +
         OneLine(problem.texto);
}

std::string RefusalLine(const std::string& file, const std::string& message) {
  return OneLine(file) + ": " + OneLine(message);
}

std::string ProblemCounts(int errors, int warnings) {
  std::string counts;
  if (errors > 0) counts = Counted(errors, "error", "errores");
  if (warnings > 0) counts += (counts.empty() ? "" : ", ") + Counted(warnings, "aviso", "avisos");
  return counts;
}

std::string SummaryLine(const std::string& file, int errors, int warnings) {
  const std::string counts = ProblemCounts(errors, warnings);
  return OneLine(file) + ": " + (counts.empty() ? "sin problemas" : counts);
}

std::string UnreviewedLine(const std::string& file) {
  return OneLine(file) + ": no se pudo revisar";
}

}  // namespace f7301
