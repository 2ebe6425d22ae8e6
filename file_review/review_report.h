#pragma once
// What the review from the command line prints: one line per problem the
// form has, one summary line per file, and the exit status of the whole
// run. Every text is UTF-8 and printed as one line: a line break in a
// message (with the blanks around it) becomes one blank, and no other
// control character reaches the terminal.
#include <algorithm>
#include <string>

namespace f7301 {

// A problem as the form's own review reports it.
struct ReviewProblem {
  std::string clase;  // "Error" (stops "Validar") or "Aviso"
  std::string donde;  // the field's spoken name
  std::string texto;  // the message without its "Error:" line
};

// "FILE: <clase>: <donde>: <texto>".
std::string ProblemLine(const std::string& file, const ReviewProblem& problem);

// "FILE: <message>": why the file could not be reviewed.
std::string RefusalLine(const std::string& file, const std::string& message);

// "2 errores, 1 aviso", "1 error", "3 avisos"; "" when there are none.
std::string ProblemCounts(int errors, int warnings);

// "FILE: 2 errores, 1 aviso", "FILE: 1 error", "FILE: sin problemas".
std::string SummaryLine(const std::string& file, int errors, int warnings);

// "FILE: no se pudo revisar".
std::string UnreviewedLine(const std::string& file);

// `text` on one line, as the lines above print it.
std::string OneLine(const std::string& text);

// The exit status of a run: 2 when a file could not be reviewed, else 1 when
// a file has an error, else 0.
class ReviewStatus {
 public:
  void CountFile(int errors) { m_status = std::max(m_status, errors > 0 ? 1 : 0); }
  void CountUnreviewed() { m_status = 2; }
  int exitStatus() const { return m_status; }

 private:
  int m_status = 0;
};

}  // namespace f7301
