#include "app/formulario_app.h"

int main(int argc, char** argv) {
  f7301::CFormularioApp app(argc, argv);
  if (!app.InitInstance()) return 1;
  return app.Run();
}
