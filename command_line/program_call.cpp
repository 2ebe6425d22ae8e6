#include "command_line/program_call.h"

namespace f7301 {

ProgramCall ReadProgramCall(const std::vector<std::string>& arguments) {
  ProgramCall call;
  if (arguments.empty()) return call;
  const std::string& first = arguments.front();
  if (first == "--help" || first == "-h") {
    call.form = ProgramForm::kHelp;
  } else if (first == "--revisar") {
    call.files.assign(arguments.begin() + 1, arguments.end());
    call.form = call.files.empty() ? ProgramForm::kMisused : ProgramForm::kReview;
  }
  return call;
}

const char* HelpText() {
  return "Uso: formulario7301 [ARCHIVO]\n"
         "     formulario7301 --revisar ARCHIVO...\n"
         "     formulario7301 --help\n"
         "\n"
         "Sin argumentos muestra el formulario RTQ-7301 en blanco. Con un ARCHIVO\n"
         "muestra también el formulario en blanco, con el nombre de ese archivo en el\n"
         "título de la ventana.\n"
         "\n"
         "  --revisar ARCHIVO...  revisa cada archivo de declaración como lo abre\n"
         "                        \"Modificar\", sin mostrar ninguna ventana, y escribe\n"
         "                        una línea por problema (ARCHIVO: Error: dónde: qué,\n"
         "                        o Aviso en lugar de Error) y un resumen por archivo.\n"
         "                        Termina con 0 si ningún archivo tiene errores, 1 si\n"
         "                        alguno tiene errores y 2 si alguno no pudo leerse\n"
         "                        (el motivo, en la salida de errores).\n"
         "  -h, --help            muestra esta ayuda.\n";
}

const char* MisuseText() {
  return "Error:\nIndique los archivos de declaración que desea revisar: "
         "formulario7301 --revisar ARCHIVO...\n";
}

}  // namespace f7301
