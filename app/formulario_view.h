#pragma once
// The program's only view: a browser that shows the form page, the pages
// generated from a stored declaration, and that is the page's
// window.external.
#include <QByteArray>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "app/draft_keeper.h"
#include "app/qt_user_prompts.h"
#include "declaration/declaration_loader.h"
#include "declaration/declaration_writer.h"
#include "printout/running_head.h"
#include "xmlstore/xml_reader.h"

class QWebChannel;
class QWebEngineProfile;
class QWebEngineView;

namespace f7301 {

class CAnnexTransfer;
class CExternalObject;
class CFormPage;
class CFormPrintout;
class CPageActivity;
class CPageFocus;
class CResSchemeHandler;

class CFormularioView : public QWidget {
  Q_OBJECT

 public:
  explicit CFormularioView(QWidget* parent = nullptr);
  ~CFormularioView() override;

  // Shows the blank form afresh (start-up and Nuevo).
  void OnInitialUpdate();

  // Replaces the page by `page` (Windows-1252 HTML); its scripts run.
  void ShowGeneratedPage(const std::string& page);

  // Imprimir: the print dialog, then the page on screen is printed as the
  // document Exportar a PDF makes.
  void OnFilePrint();
  // "Exportar a PDF": the page on screen as a PDF document.
  void OnFileExportPdf();

  // Consultar and Modificar: reopen a declaration read-only or for correction.
  void OnFileOpen();
  void OnFileUpdate();

  // The same for a file chosen elsewhere (the register of declarations): no
  // dialog, the same reading, messages and page.
  void OpenDeclarationFile(LoadMode mode, const QString& path);

  // "Nuevo a partir de una declaración": the file dialog, then
  // StartNextMonthFrom.
  void OnFileNewFrom();

  // "Mes siguiente": the blank form of the month after the declaration in
  // `path` (read as Consultar reads it), with its taxpayer and its closing
  // balances as opening balances, kept as a draft at once.
  void StartNextMonthFrom(const QString& path);

  // "Rectificar": Modificar of `path`, then "7301" and its form number typed
  // into box 1619 once the form is on screen.
  void RectifyDeclaration(const QString& path);

  // Ctrl+S: the HTML copy of the last declaration generated. 1 when written.
  int SaveHtmlCopy();

  QWebEngineView* browser() const { return m_browser; }
  CExternalObject* external() const { return m_external; }
  CPageActivity* activity() const { return m_activity; }
  CAnnexTransfer* annexTransfer() const { return m_annex; }
  UserPrompts& prompts() { return m_prompts; }
  const DeclarationWriter& writer() const { return m_writer; }
  const CXmlReader& xmlReader() const { return m_xmlReader; }
  CDraftKeeper& drafts() { return *m_drafts; }
  CPageFocus& pageFocus() { return *m_focus; }
  CFormPrintout& printout() { return *m_printout; }

 signals:
  // A print started by OnFilePrint has ended.
  void printFinished(bool success);

  // A line for the status bar (a PDF written).
  void statusText(const QString& text);

  // "Validar" wrote the declaration file `path`, or Consultar, Modificar or
  // "Mes siguiente" read it.
  void declarationFileSeen(const QString& path);

  // The form a command filled in after its page loaded (the next month's
  // form put back, box 1619 typed) is ready for the user.
  void formPrepared();

 private:
  void OnGeneraArchivo(const QByteArray& xml, const QByteArray& formNumber, const QByteArray& html,
                       const QByteArray& nit);
  // Hands the running head of the page on screen to `use`.
  void WithRunningHead(std::function<void(const QString&)> use);
  void LoadDeclaration(LoadMode mode);
  void LoadDeclarationFile(LoadMode mode, const QString& path, std::function<void()> loaded);
  // Puts `url` on screen once the draft of the form leaving it is written;
  // `loaded` runs when it has loaded.
  void ShowPage(const QUrl& url, CDraftKeeper::PageKind kind, const QString& source,
                std::function<void()> loaded);
  void OnPageLoaded(bool ok);
  void PutNextMonth(const QString& record);
  void TypeRectifiedNumber(const QString& number);

  QWebEngineProfile* m_profile;
  CResSchemeHandler* m_scheme;
  CFormPage* m_page;
  QWebEngineView* m_browser;
  QWebChannel* m_channel;
  CExternalObject* m_external;
  CPageActivity* m_activity;
  CPageFocus* m_focus;  // before m_drafts: a draft put back keeps its caret
  CDraftKeeper* m_drafts;
  const DeclarationLoader* m_loading = nullptr;  // while Consultar or Modificar runs
  LoadMode m_loadingMode = LoadMode::Consultar;
  std::function<void()> m_loadedNext;  // for the page the loading command shows
  QUrl m_awaitedUrl;                   // the page `m_whenLoaded` waits for
  std::function<void()> m_whenLoaded;
  CQtUserPrompts m_prompts;
  CAnnexTransfer* m_annex;     // Importar and Exportar anexo
  CXmlReader m_xmlReader;      // the store of the declaration last reopened
  DeclarationWriter m_writer;  // keeps the last generation for Ctrl+S
  CFormPrintout* m_printout;   // Imprimir and Exportar a PDF
  // The page on screen: the declaration file it shows (just written or
  // read), and for a read-only page the identity read with it.
  QString m_shownDeclaration;
  std::optional<PrintedIdentity> m_shownIdentity;
};

}  // namespace f7301
