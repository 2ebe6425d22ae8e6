#include <cstdio>
#include <string>
#include <vector>

#include "app/formulario_app.h"
#include "app/review_command.h"
#include "command_line/program_call.h"

int main(int argc, char** argv) {
  // Read before anything starts: help needs no display, and the review
  // shows no window.
  const f7301::ProgramCall call =
      f7301::ReadProgramCall(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc));
  switch (call.form) {
    case f7301::ProgramForm::kHelp:
      std::fputs(f7301::HelpText(), stdout);
      return 0;
    case f7301::ProgramForm::kMisused:
      std::fputs(f7301::MisuseText(), stderr);
      return 2;
    case f7301::ProgramForm::kReview:
      return f7301::RunReview(argv[0], call.files);
    case f7301::ProgramForm::kWindow:
      break;
  }
  f7301::CFormularioApp app(argc, argv);
  if (!app.InitInstance()) return 1;
  return app.Run();
}
