#pragma once
// The program's command line: which of its forms was asked for, read before
// anything is shown (the review runs without a window, and help needs no
// display at all).
#include <string>
#include <vector>

namespace f7301 {

enum class ProgramForm {
  kWindow,   // nothing, or a path (and the toolkit's own options): the window
  kHelp,     // --help or -h: the command-line forms on standard output
  kReview,   // --revisar FILE...: each file reviewed, no window
  kMisused,  // --revisar without a file
};

struct ProgramCall {
  ProgramForm form = ProgramForm::kWindow;
  std::vector<std::string> files;  // for kReview, as given
};

// `arguments` are those after the program's name. The first one chooses the
// form; after --revisar every argument is a file, even one that begins with
// a dash.
ProgramCall ReadProgramCall(const std::vector<std::string>& arguments);

// What --help prints (UTF-8).
const char* HelpText();

// What a misused command line prints on standard error (UTF-8).
const char* MisuseText();

}  // namespace f7301
