#pragma once
// The file dialogs the program opens write a file's date and size in the
// program's Spanish: Qt's own list writes them in the desktop's locale, so
// "9 Dec" and "1.5 KB" showed through under an English or C desktop.
class QFileDialog;

namespace f7301 {

// Puts the Spanish dates and sizes into `dialog` (a dialog of Qt's own, not
// the desktop's); call before it is shown.
void WriteDatesInSpanish(QFileDialog& dialog);

}  // namespace f7301
