#include "app/modal_prompts.h"

#include <QAbstractButton>
#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QGuiApplication>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QSpacerItem>

#include "app/directorio_dlg.h"
#include "app/spanish_file_dialog.h"

namespace f7301 {
namespace {

PromptAnswerer& Answerer() {
  static PromptAnswerer answerer;
  return answerer;
}

QMessageBox::Icon IconOf(PromptKind kind) {
  switch (kind) {
    case PromptKind::AppMessage:
    case PromptKind::ScriptAlert:
      return QMessageBox::Warning;
    default:
      return QMessageBox::NoIcon;
  }
}

// A message that lists many lines (the problems of an imported file) takes
// the width of a small screen, so that each line wraps once at most and the
// box keeps within a screen 768 pixels high; message boxes otherwise stop at
// 500 pixels and wrap every line of such a list.
constexpr int kListLines = 8;
constexpr int kListWidth = 900;

void WidenForList(QMessageBox& box, const QString& text, QWidget* parent) {
  auto* grid = qobject_cast<QGridLayout*>(box.layout());
  if (grid == nullptr || text.count(QLatin1Char('\n')) < kListLines) return;
  const QScreen* screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
  const int room = screen ? screen->availableGeometry().width() - 100 : kListWidth;
  grid->addItem(new QSpacerItem(qMin(kListWidth, room), 0, QSizePolicy::Minimum), grid->rowCount(),
                0, 1, grid->columnCount());
}

}  // namespace

void SetPromptAnswerer(PromptAnswerer answerer) { Answerer() = std::move(answerer); }

std::optional<QString> AskDestinationDirectory(QWidget* parent, const QString& proposal) {
  if (Answerer()) return Answerer()({PromptKind::DestinationDirectory, proposal, {}});
  CDirectorioDlg dlg(parent);
  dlg.m_strDirectorio = proposal;
  if (dlg.DoModal() != QDialog::Accepted) return std::nullopt;
  return dlg.m_strDirectorio;
}

namespace {

// One of Qt's own file dialogs (the desktop's would not take the program's
// Spanish), run modally; the chosen path, or nothing when cancelled.
std::optional<QString> RunFileDialog(QFileDialog& dialog) {
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  WriteDatesInSpanish(dialog);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  const QString path = dialog.selectedFiles().constFirst();
  if (path.isEmpty()) return std::nullopt;
  return path;
}

std::optional<QString> AskExistingFile(QWidget* parent, const QString& title,
                                       const QString& startFolder, const QString& filter) {
  QFileDialog dialog(parent, title, startFolder, filter);
  dialog.setFileMode(QFileDialog::ExistingFile);
  return RunFileDialog(dialog);
}

std::optional<QString> AskSaveFile(QWidget* parent, PromptKind kind, const QString& title,
                                   const QString& proposal, const QString& filter,
                                   const QString& suffix) {
  if (Answerer()) return Answerer()({kind, proposal, title});
  QFileDialog dialog(parent, title, proposal, filter);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(suffix);
  return RunFileDialog(dialog);
}

std::optional<QString> AskCsvSaveFile(QWidget* parent, PromptKind kind, const QString& title,
                                      const QString& proposal) {
  return AskSaveFile(parent, kind, title, proposal,
                     QStringLiteral("Archivos CSV (*.csv);;Todos los archivos (*)"),
                     QStringLiteral("csv"));
}

}  // namespace

std::optional<QString> AskDeclarationFile(QWidget* parent, const QString& startFolder,
                                          const QString& title) {
  if (Answerer()) return Answerer()({PromptKind::DeclarationFile, startFolder, title});
  return AskExistingFile(parent, title, startFolder, QStringLiteral("Todos los archivos (*)"));
}

std::optional<QString> AskFolder(QWidget* parent, const QString& startFolder) {
  const QString title = QStringLiteral("Seleccione un folder");
  if (Answerer()) return Answerer()({PromptKind::Folder, startFolder, title});
  QFileDialog dialog(parent, title, startFolder);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  return RunFileDialog(dialog);
}

std::optional<QString> AskAnnexImportFile(QWidget* parent, const QString& startFolder) {
  const QString title = QStringLiteral("Importar anexo");
  if (Answerer()) return Answerer()({PromptKind::AnnexImportFile, startFolder, title});
  return AskExistingFile(parent, title, startFolder,
                         QStringLiteral("Archivos CSV (*.csv *.txt);;Todos los archivos (*)"));
}

std::optional<QString> AskAnnexExportFile(QWidget* parent, const QString& proposal) {
  return AskCsvSaveFile(parent, PromptKind::AnnexExportFile, QStringLiteral("Exportar anexo"),
                        proposal);
}

std::optional<QString> AskRegisterExportFile(QWidget* parent, const QString& proposal) {
  return AskCsvSaveFile(parent, PromptKind::RegisterExportFile, QStringLiteral("Exportar lista"),
                        proposal);
}

std::optional<QString> AskPdfExportFile(QWidget* parent, const QString& proposal) {
  return AskSaveFile(parent, PromptKind::PdfExportFile, QStringLiteral("Exportar a PDF"), proposal,
                     QStringLiteral("Archivos PDF (*.pdf);;Todos los archivos (*)"),
                     QStringLiteral("pdf"));
}

bool AskPrinter(QWidget* parent, QPrinter& printer, const QString& pdfProposal) {
  if (Answerer()) {
    const auto pdf = Answerer()({PromptKind::Printer, pdfProposal, {}});
    if (!pdf) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(*pdf);
    return true;
  }
  // The name offered for a print to a file; a printer, where there is one,
  // stays the one chosen first.
  const QString printerName = printer.printerName();
  printer.setOutputFileName(pdfProposal);
  if (!printerName.isEmpty()) printer.setPrinterName(printerName);
  QPrintDialog dialog(&printer, parent);
  return dialog.exec() == QDialog::Accepted;
}

void ShowMessage(QWidget* parent, PromptKind kind, const QString& text, const QString& caption) {
  if (Answerer()) {
    Answerer()({kind, text, caption});
    return;
  }
  QMessageBox box(IconOf(kind), caption, text, QMessageBox::Ok, parent);
  WidenForList(box, text, parent);
  box.exec();
}

bool AskYesNo(QWidget* parent, const QString& text, const QString& caption) {
  const QString yes = QStringLiteral("Sí");
  if (Answerer()) return Answerer()({PromptKind::Question, text, caption}) == yes;
  QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, parent);
  box.button(QMessageBox::Yes)->setText(yes);
  box.button(QMessageBox::No)->setText(QStringLiteral("No"));
  box.setDefaultButton(QMessageBox::Yes);
  return box.exec() == QMessageBox::Yes;
}

Reply AskYesNoOrLater(QWidget* parent, const QString& text, const QString& caption) {
  const QString yes = QStringLiteral("Sí");
  const QString no = QStringLiteral("No");
  if (Answerer()) {
    const std::optional<QString> answer = Answerer()({PromptKind::Question, text, caption});
    return answer == yes ? Reply::kYes : answer == no ? Reply::kNo : Reply::kLater;
  }
  // Without a button of its own for Esc, the box would take "No" for it. The
  // hidden Cancel button is that button, and the close button's too.
  QMessageBox box(QMessageBox::Question, caption, text,
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
  box.button(QMessageBox::Yes)->setText(yes);
  box.button(QMessageBox::No)->setText(no);
  box.button(QMessageBox::Cancel)->hide();
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::Cancel);
  const int chosen = box.exec();
  return chosen == QMessageBox::Yes  ? Reply::kYes
         : chosen == QMessageBox::No ? Reply::kNo
                                     : Reply::kLater;
}

}  // namespace f7301
