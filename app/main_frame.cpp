#include "app/main_frame.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QWebEngineView>
#include <functional>

#include "app/about_dlg.h"
#include "app/accelerator_filter.h"
#include "app/annex_drop_filter.h"
#include "app/annex_transfer.h"
#include "app/command_texts.h"
#include "app/draft_keeper.h"
#include "app/form_zoom.h"
#include "app/formulario_doc.h"
#include "app/formulario_view.h"
#include "app/lock_key_indicators.h"
#include "app/modal_prompts.h"
#include "app/page_activity.h"
#include "app/register/register_window.h"
#include "app/review_panel.h"
#include "app/toolbar_pictures.h"

namespace f7301 {
namespace {

QAction* NewAction(QObject* owner, const char* label, const char* prompt) {
  auto* action = new QAction(QString::fromUtf8(label), owner);
  if (prompt) SetPrompt(*action, prompt);
  return action;
}

}  // namespace

CMainFrame::CMainFrame(CFormularioDoc& document, QWidget* parent)
    : QMainWindow(parent), m_document(document), m_view(new CFormularioView(this)) {
  setCentralWidget(m_view);
  resize(1024, 768);  // the size the window takes when it is no longer maximised
  CreateActions();
  CreateAnnexCommands();
  CreateRegister();
  CreateReview();
  CreateMenus();
  CreateToolBar();
  CreateZoom();
  CreateStatusBar();
  m_accelerators = new CAcceleratorFilter(
      this, [this](Command c) { RunCommand(c); }, this);
  qApp->installEventFilter(m_accelerators);
  UpdateTitle();
}

CMainFrame::~CMainFrame() {
  qApp->removeEventFilter(m_accelerators);
  qApp->removeEventFilter(m_annexDrops);
  delete m_register;
}

// The register is a window of its own rather than one kept above the frame:
// what its buttons open is the form in the frame, which must not stay hidden
// under it.
void CMainFrame::CreateRegister() {
  m_register = new CRegisterWindow(nullptr);
  m_actRegister = NewAction(this, "&Declaraciones...\tCtrl+D", kPromptDeclaraciones);
  connect(m_actRegister, &QAction::triggered, m_register, &CRegisterWindow::Open);
  connect(m_view, &CFormularioView::declarationFileSeen, m_register,
          &CRegisterWindow::NoteDeclarationFile);
  // Each action brings the form forward, then runs as from the menu. Queued:
  // a command may open a modal box, which should not run inside the click.
  auto onForm = [this](std::function<void(const QString&)> command) {
    return [this, command](const QString& path) {
      raise();
      activateWindow();
      QMetaObject::invokeMethod(
          this, [command, path] { command(path); }, Qt::QueuedConnection);
    };
  };
  CFormularioView* view = m_view;
  connect(m_register, &CRegisterWindow::consultarRequested, this,
          onForm([view](const QString& p) { view->OpenDeclarationFile(LoadMode::Consultar, p); }));
  connect(m_register, &CRegisterWindow::modificarRequested, this,
          onForm([view](const QString& p) { view->OpenDeclarationFile(LoadMode::Modificar, p); }));
  connect(m_register, &CRegisterWindow::rectificarRequested, this,
          onForm([view](const QString& p) { view->RectifyDeclaration(p); }));
  connect(m_register, &CRegisterWindow::nextMonthRequested, this,
          onForm([view](const QString& p) { view->StartNextMonthFrom(p); }));
}

// Importing and exporting the annex act on a form that can be filled: on a
// read-only page, and while a page loads, they are off.
void CMainFrame::CreateAnnexCommands() {
  CAnnexTransfer* annex = m_view->annexTransfer();
  m_actImportAnnex = NewAction(this, "Importar &anexo...", kPromptImportarAnexo);
  m_actExportAnnex = NewAction(this, "E&xportar anexo...", kPromptExportarAnexo);
  for (QAction* a : {m_actImportAnnex, m_actExportAnnex}) a->setEnabled(annex->available());
  connect(m_actImportAnnex, &QAction::triggered, annex, &CAnnexTransfer::Import);
  connect(m_actExportAnnex, &QAction::triggered, annex, &CAnnexTransfer::Export);
  connect(annex, &CAnnexTransfer::availableChanged, this, [this](bool available) {
    m_actImportAnnex->setEnabled(available);
    m_actExportAnnex->setEnabled(available);
  });
  m_annexDrops = new CAnnexDropFilter(
      this, [annex] { return annex->available(); },
      [annex](const QString& path) { annex->ImportFile(path); }, this);
  qApp->installEventFilter(m_annexDrops);
  setAcceptDrops(true);
}

void CMainFrame::CreateActions() {
  // The key texts after the tab are what the menu shows; the keys themselves
  // are the accelerator table's (CAcceleratorFilter), which binds Imprimir to
  // Ctrl+P although the menu reads Ctrl+I.
  m_actNew = NewAction(this, "&Nuevo\tCtrl+N", kPromptNuevo);
  m_actNewFrom = NewAction(this, "Nuevo a &partir de una declaración...", kPromptNuevoDesde);
  m_actOpen = NewAction(this, "&Consultar\tCtrl+C", kPromptConsultar);
  m_actUpdate = NewAction(this, "&Modificar\tCtrl+M", kPromptModificar);
  m_actPrint = NewAction(this, "&Imprimir...\tCtrl+I", kPromptImprimir);
  m_actExportPdf = NewAction(this, "&Exportar a PDF...", kPromptExportarPdf);
  m_actSave = NewAction(this, "Guardar", kPromptGuardar);
  m_actExit = NewAction(this, "&Salir", kPromptSalir);
  m_actAbout = NewAction(this, "&Acerca de Formulario...", kPromptAcercaDe);
  m_actStatusBar = NewAction(this, "Barra de &estado", kPromptBarraEstado);
  m_actStatusBar->setCheckable(true);
  m_actStatusBar->setChecked(true);

  connect(m_actNew, &QAction::triggered, this, &CMainFrame::OnFileNew);
  connect(m_actNewFrom, &QAction::triggered, m_view, &CFormularioView::OnFileNewFrom);
  connect(m_actOpen, &QAction::triggered, m_view, &CFormularioView::OnFileOpen);
  connect(m_actUpdate, &QAction::triggered, m_view, &CFormularioView::OnFileUpdate);
  connect(m_actPrint, &QAction::triggered, m_view, &CFormularioView::OnFilePrint);
  connect(m_actExportPdf, &QAction::triggered, m_view, &CFormularioView::OnFileExportPdf);
  connect(m_actSave, &QAction::triggered, m_view, [this] { m_view->SaveHtmlCopy(); });
  connect(m_actExit, &QAction::triggered, this, &QWidget::close);
  connect(m_actAbout, &QAction::triggered, this, &CMainFrame::OnAppAbout);
  connect(m_actStatusBar, &QAction::toggled, this,
          [this](bool shown) { statusBar()->setVisible(shown); });
}

void CMainFrame::CreateMenus() {
  QMenu* archivo = menuBar()->addMenu(QStringLiteral("&Archivo"));
  archivo->addAction(m_actNew);
  archivo->addAction(m_actNewFrom);
  archivo->addAction(m_actOpen);
  archivo->addAction(m_actUpdate);
  archivo->addAction(m_actRegister);
  archivo->addSeparator();
  archivo->addAction(m_actImportAnnex);
  archivo->addAction(m_actExportAnnex);
  archivo->addSeparator();
  archivo->addAction(m_actPrint);
  archivo->addAction(m_actExportPdf);
  archivo->addSeparator();
  archivo->addAction(m_actExit);

  m_verMenu = menuBar()->addMenu(QStringLiteral("&Ver"));

  QMenu* acerca = menuBar()->addMenu(QStringLiteral("A&cerca de ..."));
  acerca->addAction(m_actAbout);
}

void CMainFrame::CreateToolBar() {
  m_toolBar = new QToolBar(QStringLiteral("Barra de herramientas"), this);
  m_toolBar->setObjectName(QStringLiteral("toolBar"));
  m_toolBar->setMovable(true);
  m_toolBar->setFloatable(true);
  m_toolBar->setAllowedAreas(Qt::AllToolBarAreas);
  m_toolBar->setIconSize(kToolbarPictureSize);

  const auto pictures = ToolbarPictures();
  const std::pair<QAction*, ToolbarPicture> buttons[] = {
      {m_actNew, ToolbarPicture::Nuevo},
      {m_actOpen, ToolbarPicture::Consultar},
      {m_actUpdate, ToolbarPicture::Modificar},
      {m_actRegister, ToolbarPicture::Declaraciones},
      {nullptr, ToolbarPicture::Nuevo},
      {m_actPrint, ToolbarPicture::Imprimir},
      {m_actExportPdf, ToolbarPicture::ExportarPdf},
      {nullptr, ToolbarPicture::Nuevo},
      {m_review->toggleViewAction(), ToolbarPicture::Revision},
      {nullptr, ToolbarPicture::Nuevo},
      {m_actAbout, ToolbarPicture::AcercaDe},
      {m_actExit, ToolbarPicture::Salir},
  };
  for (const auto& [action, picture] : buttons) {
    if (action == nullptr) {
      m_toolBar->addSeparator();
      continue;
    }
    action->setIcon(pictures[static_cast<int>(picture)]);
    m_toolBar->addAction(action);
  }
  addToolBar(Qt::TopToolBarArea, m_toolBar);

  m_actToolBar = m_toolBar->toggleViewAction();
  m_actToolBar->setText(QStringLiteral("Barra de &herramientas"));
  SetPrompt(*m_actToolBar, kPromptBarraHerramientas);
  m_verMenu->addAction(m_actToolBar);
  m_verMenu->addAction(m_actStatusBar);
  m_verMenu->addAction(m_review->toggleViewAction());
}

void CMainFrame::CreateZoom() {
  m_verMenu->addSeparator();
  m_zoom = new CFormZoom(*m_view->browser(), *m_verMenu, this);
}

// The panel follows the form while it is open: each box left, each form put
// on screen or filled in by the program. "Validar" stopped at a problem opens
// it, once its message is closed.
void CMainFrame::CreateReview() {
  m_review = new CReviewPanel(*m_view->browser()->page(), *m_view, this);
  addDockWidget(Qt::BottomDockWidgetArea, m_review);
  m_review->hide();
  CReviewPanel* review = m_review;
  auto refresh = [review] { review->Refresh(); };
  connect(m_view->activity(), &CPageActivity::fieldLeft, review, refresh);
  connect(m_view->activity(), &CPageActivity::validarStopped, review, &CReviewPanel::Open);
  connect(m_view->browser()->page(), &QWebEnginePage::loadFinished, review, refresh);
  connect(&m_view->drafts(), &CDraftKeeper::draftRestored, review, refresh);
  connect(m_view->annexTransfer(), &CAnnexTransfer::rowsImported, review, refresh);
  connect(m_view, &CFormularioView::formPrepared, review, refresh);
}

void CMainFrame::CreateStatusBar() {
  m_idleText = new QLabel(QStringLiteral("Preparado"), statusBar());
  statusBar()->addWidget(m_idleText, 1);
  m_indicators = new CLockKeyIndicators(*statusBar());
  connect(m_view, &CFormularioView::statusText, statusBar(),
          [this](const QString& text) { statusBar()->showMessage(text); });
}

QAction* CMainFrame::action(Command command) const {
  switch (command) {
    case Command::Nuevo:
      return m_actNew;
    case Command::Consultar:
      return m_actOpen;
    case Command::Modificar:
      return m_actUpdate;
    case Command::Declaraciones:
      return m_actRegister;
    case Command::Imprimir:
      return m_actPrint;
    case Command::Guardar:
      return m_actSave;
    case Command::Nothing:
      break;
  }
  return nullptr;
}

void CMainFrame::RunCommand(Command command) {
  if (QAction* a = action(command)) a->trigger();
}

void CMainFrame::UpdateTitle() {
  setWindowTitle(m_document.title() + QStringLiteral(" - ") + QString::fromLatin1(kAppTitle));
}

void CMainFrame::OnFileNew() {
  m_document.OnNewDocument();
  UpdateTitle();
  m_view->OnInitialUpdate();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  m_register->close();  // its scan stops
  m_view->drafts().FlushNow();
  m_zoom->Remember();
  QMainWindow::closeEvent(event);
}

void CMainFrame::OnAppAbout() {
  CAboutDlg dialog(this);
  dialog.exec();
}

}  // namespace f7301
