#pragma once
// Archivo → "Exportar a PDF..." and Imprimir: both make the same document of
// the form on screen (CPrintedForm); the one writes it to a file, the other
// sends it to the printer or the file the print dialog names.
#include <QObject>
#include <QPageSize>
#include <QString>
#include <functional>

class QWebEnginePage;
class QWidget;

namespace f7301 {

class CPrintedForm;

class CFormPrintout : public QObject {
  Q_OBJECT

 public:
  // Hands the running head of the page on screen to its argument, at once
  // or once the page has answered.
  using HeadSource = std::function<void(std::function<void(const QString&)>)>;
  // The declaration file the page on screen shows, or empty.
  using DeclarationSource = std::function<QString()>;

  CFormPrintout(QWebEnginePage& page, QWidget& window, HeadSource head,
                DeclarationSource declaration, QObject* parent = nullptr);

  void ExportPdf();
  void Print();
  // The PDF file first offered: the declaration's file name + ".pdf" beside
  // it, else "Formulario7301.pdf" in the folder last used.
  QString ProposedPdf() const;

 signals:
  void statusText(const QString& text);
  void printFinished(bool success);

 private:
  void MakeToFile(const QString& path, const QPageSize& paper, bool printing);

  QWidget& m_window;
  HeadSource m_head;
  DeclarationSource m_declaration;
  CPrintedForm* m_form;
};

}  // namespace f7301
