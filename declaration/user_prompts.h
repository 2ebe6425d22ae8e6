#pragma once
// What the operations that talk to the user (generating a declaration, saving
// its HTML copy, reopening a file) need from the window: the user's answers,
// message boxes and the browser page. The program implements it with real
// dialogs; tests script every answer.
//
// Messages and paths are UTF-8; pages are Windows-1252 bytes.
#include <optional>
#include <string>

namespace f7301 {

class UserPrompts {
 public:
  virtual ~UserPrompts() = default;

  // The "Directorio Destino" dialog with `proposal` in its edit field.
  // Returns the text of the field as the user left it on OK, or nothing when
  // the dialog was cancelled (Cancel, Esc, close box, or not shown at all).
  virtual std::optional<std::string> ChooseDestinationDirectory(const std::string& proposal) = 0;

  // The "Buscar Archivo" open-file dialog. Nothing when cancelled.
  virtual std::optional<std::string> ChooseDeclarationFile() = 0;

  // The application's message box: OK button, the application title
  // ("Formulario7301") as caption, exclamation icon.
  virtual void ShowAppMessage(const std::string& text) = 0;

  // The view's own message box: OK button, the given caption, no icon.
  virtual void ShowViewMessage(const std::string& text, const std::string& caption) = 0;

  // Replaces the page in the browser by `page` (Windows-1252 HTML); its
  // inline scripts and load handler run.
  virtual void ShowGeneratedPage(const std::string& page) = 0;
};

}  // namespace f7301
