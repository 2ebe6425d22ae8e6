#include "app/printout/form_printout.h"

#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QSettings>
#include <memory>
#include <string_view>

#include "app/dialog_folders.h"
#include "app/modal_prompts.h"
#include "app/printout/pdf_printing.h"
#include "app/printout/printed_form.h"
#include "declaration/atomic_file.h"
#include "declaration/declaration_paths.h"

namespace f7301 {
namespace {

const char* const kPdfFolderKey = "Archivos/UltimaCarpetaPdf";
constexpr const char* kPrintFailed = "Error:\nNo pudo imprimirse el formulario.";

QString LastPdfFolder() {
  const QString last = QSettings().value(QLatin1String(kPdfFolderKey)).toString();
  if (!last.isEmpty() && QFileInfo(last).isDir()) return last;
  return LastDeclarationFolder(ProposedDestination());
}

bool WriteFile(const QString& path, const QByteArray& pdf) {
  const std::string_view bytes(pdf.constData(), static_cast<std::size_t>(pdf.size()));
  return ReplaceFileContents(PathFromUtf8(path.toStdString()), {&bytes, 1}) ==
         ReplaceResult::kReplaced;
}

}  // namespace

CFormPrintout::CFormPrintout(QWebEnginePage& page, QWidget& window, HeadSource head,
                             DeclarationSource declaration, QObject* parent)
    : QObject(parent),
      m_window(window),
      m_head(std::move(head)),
      m_declaration(std::move(declaration)),
      m_form(new CPrintedForm(page, window, this)) {}

QString CFormPrintout::ProposedPdf() const {
  const QString declaration = m_declaration();
  if (!declaration.isEmpty()) return declaration + QStringLiteral(".pdf");
  return QDir(LastPdfFolder()).filePath(QStringLiteral("Formulario7301.pdf"));
}

void CFormPrintout::ExportPdf() {
  if (m_form->busy()) return;
  const std::optional<QString> path = AskPdfExportFile(&m_window, ProposedPdf());
  if (!path || path->isEmpty()) return;
  MakeToFile(*path, QPageSize(QPageSize::A4), false);
}

void CFormPrintout::Print() {
  if (m_form->busy()) return;
  auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
  if (!AskPrinter(&m_window, *printer, ProposedPdf())) return;
  const QPageSize paper = printer->pageLayout().pageSize();
  if (printer->outputFormat() == QPrinter::PdfFormat) {
    MakeToFile(printer->outputFileName(), paper, true);
    return;
  }
  m_head([this, printer, paper](const QString& head) {
    const bool started = m_form->Start(
        head, CPrintedForm::LayoutFor(paper), QStringLiteral("Imprimiendo el formulario..."),
        [printer](const QByteArray& pdf) { return PrintPdf(pdf, *printer); });
    if (!started) return;
    connect(
        m_form, &CPrintedForm::finished, this,
        [this](CPrintedForm::Outcome outcome) {
          if (outcome == CPrintedForm::Outcome::kFailed) {
            ShowMessage(&m_window, PromptKind::AppMessage, QString::fromUtf8(kPrintFailed),
                        QString::fromLatin1(kAppTitle));
          }
          emit printFinished(outcome == CPrintedForm::Outcome::kDone);
        },
        Qt::SingleShotConnection);
  });
}

// A print to a file is the very PDF that Exportar a PDF writes.
void CFormPrintout::MakeToFile(const QString& path, const QPageSize& paper, bool printing) {
  m_head([this, path, paper, printing](const QString& head) {
    const bool started = m_form->Start(
        head, CPrintedForm::LayoutFor(paper), QStringLiteral("Preparando el PDF del formulario..."),
        [path](const QByteArray& pdf) { return WriteFile(path, pdf); });
    if (!started) return;
    connect(
        m_form, &CPrintedForm::finished, this,
        [this, path, printing](CPrintedForm::Outcome outcome) {
          const bool done = outcome == CPrintedForm::Outcome::kDone;
          if (done) {
            QSettings().setValue(QLatin1String(kPdfFolderKey), QFileInfo(path).absolutePath());
            emit statusText(QStringLiteral("Se export\u00F3 el formulario a %1.").arg(path));
          } else if (outcome == CPrintedForm::Outcome::kFailed) {
            const QString text =
                printing
                    ? QString::fromUtf8(kPrintFailed)
                    : QStringLiteral("Error:\nNo pudo exportarse el formulario a %1.").arg(path);
            ShowMessage(&m_window, PromptKind::AppMessage, text, QString::fromLatin1(kAppTitle));
          }
          if (printing) emit printFinished(done);
        },
        Qt::SingleShotConnection);
  });
}

}  // namespace f7301
