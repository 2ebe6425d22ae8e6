#pragma once
// Every modal question and message box of the program goes through here, so
// a test can answer them without a window blocking: with an answerer set,
// the answerer is asked instead of showing the dialog (and sees every
// message with its caption).
#include <QMessageBox>
#include <QString>
#include <functional>
#include <optional>

class QPrinter;
class QWidget;

namespace f7301 {

enum class PromptKind {
  DestinationDirectory,  // "Directorio Destino"; text = proposal; answer = directory
  DeclarationFile,       // "Buscar Archivo" (or the caption given); text = folder it starts in;
                         // answer = path
  Folder,                // "Seleccione un folder"; text = folder it starts in; answer = folder
  Printer,               // print dialog; text = the PDF file proposed; answer = PDF file to
                         // print into
  PdfExportFile,         // "Exportar a PDF"; text = proposal; answer = path of the file to write
  AppMessage,            // application message box (exclamation icon)
  ViewMessage,           // the view's message box (no icon)
  ScriptAlert,           // the page's alert()
  AnnexImportFile,       // "Importar anexo"; answer = path of the file to read
  AnnexExportFile,       // "Exportar anexo"; answer = path of the file to write
  Question,              // a Sí/No question box; answer "Sí" = yes, anything else = no
                         // (AskYesNoOrLater: "No" = no, no answer = closed with Esc)
  RegisterExportFile,    // "Exportar lista"; text = proposal; answer = path of the file to write
};

struct PromptRequest {
  PromptKind kind;
  QString text;
  QString caption;
};

// Returns the answer, or nothing for "cancelled". Messages ignore it.
using PromptAnswerer = std::function<std::optional<QString>(const PromptRequest&)>;

// An empty answerer restores the real dialogs.
void SetPromptAnswerer(PromptAnswerer answerer);

// The application's title, caption of its message boxes.
inline constexpr const char* kAppTitle = "Formulario7301";

std::optional<QString> AskDestinationDirectory(QWidget* parent, const QString& proposal);
// The file and folder dialogs are Qt's own rather than the desktop's, so that
// they speak the program's language whatever the desktop's is.
// The caption of the open-file dialog of Consultar and Modificar.
inline constexpr const char* kDeclarationFileCaption = "Buscar Archivo";
std::optional<QString> AskDeclarationFile(QWidget* parent, const QString& startFolder,
                                          const QString& caption);
std::optional<QString> AskFolder(QWidget* parent, const QString& startFolder);
std::optional<QString> AskAnnexImportFile(QWidget* parent, const QString& startFolder);
// `proposal`: the path the dialog offers; a name without extension gets ".csv".
std::optional<QString> AskAnnexExportFile(QWidget* parent, const QString& proposal);
// "Exportar lista" of the register of declarations; `proposal` as above.
std::optional<QString> AskRegisterExportFile(QWidget* parent, const QString& proposal);
// "Exportar a PDF"; `proposal` as above, with ".pdf".
std::optional<QString> AskPdfExportFile(QWidget* parent, const QString& proposal);
// Sets `printer` up for one print, `pdfProposal` the file offered for a print
// to a file; false when the user cancelled.
bool AskPrinter(QWidget* parent, QPrinter& printer, const QString& pdfProposal);

void ShowMessage(QWidget* parent, PromptKind kind, const QString& text, const QString& caption);

// A question box with the buttons "Sí" (the default) and "No"; true for "Sí".
bool AskYesNo(QWidget* parent, const QString& text, const QString& caption);

// The same box, where Esc and the window's close button mean neither: the
// user put the question off.
enum class Reply { kYes, kNo, kLater };
Reply AskYesNoOrLater(QWidget* parent, const QString& text, const QString& caption);

}  // namespace f7301
