#pragma once
// Status bar prompts of the commands; the part after the line feed is the
// toolbar button's tooltip.
#include <QString>

class QAction;

namespace f7301 {

inline constexpr const char* kPromptNuevo = "Crea un nuevo documento\nNuevo";
inline constexpr const char* kPromptNuevoDesde =
    "Crea un nuevo documento para el mes siguiente al de una declaración, con sus saldos "
    "finales como saldos iniciales\nNuevo a partir de una declaración";
inline constexpr const char* kPromptConsultar = "Abre un documento ya existente\nAbrir";
inline constexpr const char* kPromptGuardar = "Guarda el documento activo\nGuardar";
inline constexpr const char* kPromptImprimir = "Imprime el documento activo\nImprimir";
inline constexpr const char* kPromptExportarPdf =
    "Guarda el formulario en un archivo PDF\nExportar a PDF";
inline constexpr const char* kPromptModificar =
    "Abre un archivo existente y permite modificarlo\nModificar";
inline constexpr const char* kPromptDeclaraciones =
    "Muestra las declaraciones guardadas, por contribuyente y periodo\nDeclaraciones";
inline constexpr const char* kPromptImportarAnexo =
    "Importa las ventas exentas del anexo desde un archivo CSV\nImportar anexo";
inline constexpr const char* kPromptExportarAnexo =
    "Guarda las ventas exentas del anexo en un archivo CSV\nExportar anexo";
inline constexpr const char* kPromptAcercaDe =
    "Muestra información del programa, número de versión y copyright\nAcerca de";
inline constexpr const char* kPromptSalir = "Sale de la aplicación\nSalir";
inline constexpr const char* kPromptBarraHerramientas =
    "Muestra u oculta la barra de herramientas\nAlternar Barra de herramientas";
inline constexpr const char* kPromptRevision =
    "Muestra u oculta la lista de los problemas del formulario\nRevisión";
inline constexpr const char* kPromptBarraEstado =
    "Muestra u oculta la barra de estado\nAlternar Barra de estado";

// Gives `action` the status bar prompt and the tooltip of `prompt`.
void SetPrompt(QAction& action, const char* prompt);

}  // namespace f7301
