#pragma once
// The main window: menus, toolbar, status bar and the form view.
#include <QMainWindow>

class QAction;
class QCloseEvent;
class QLabel;
class QMenu;
class QToolBar;

namespace f7301 {

enum class Command;
class CAcceleratorFilter;
class CAnnexDropFilter;
class CFormularioDoc;
class CFormularioView;
class CFormZoom;
class CLockKeyIndicators;
class CRegisterWindow;
class CReviewPanel;

class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  explicit CMainFrame(CFormularioDoc& document, QWidget* parent = nullptr);
  ~CMainFrame() override;

  CFormularioView* view() const { return m_view; }
  QToolBar* toolBar() const { return m_toolBar; }
  QLabel* idleText() const { return m_idleText; }

  // Runs a command as its menu item, toolbar button or key would.
  void RunCommand(Command command);

  // The caption: the document's title, " - ", the program's title.
  void UpdateTitle();

  // Nuevo: a fresh document and the blank form, without asking anything.
  void OnFileNew();

  QAction* action(Command command) const;
  QAction* newFromAction() const { return m_actNewFrom; }
  QAction* exitAction() const { return m_actExit; }
  QAction* aboutAction() const { return m_actAbout; }
  QAction* toolBarAction() const { return m_actToolBar; }
  QAction* statusBarAction() const { return m_actStatusBar; }
  QAction* importAnnexAction() const { return m_actImportAnnex; }
  QAction* exportAnnexAction() const { return m_actExportAnnex; }
  QAction* exportPdfAction() const { return m_actExportPdf; }
  // "Declaraciones": made with the frame, shown on request.
  CRegisterWindow* registerWindow() const { return m_register; }
  CFormZoom& zoom() const { return *m_zoom; }
  CReviewPanel* reviewPanel() const { return m_review; }

 protected:
  // Salir and the close box: the draft of the form is written, and the
  // window closes without asking anything.
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateActions();
  void CreateMenus();
  void CreateToolBar();
  void CreateStatusBar();
  void CreateAnnexCommands();
  void CreateRegister();
  void CreateZoom();
  void CreateReview();
  void OnAppAbout();

  CFormularioDoc& m_document;
  CFormularioView* m_view;
  QToolBar* m_toolBar = nullptr;
  QMenu* m_verMenu = nullptr;
  QLabel* m_idleText = nullptr;
  CLockKeyIndicators* m_indicators = nullptr;
  CAcceleratorFilter* m_accelerators = nullptr;
  CAnnexDropFilter* m_annexDrops = nullptr;
  CRegisterWindow* m_register = nullptr;  // a window of its own, deleted with the frame
  CFormZoom* m_zoom = nullptr;
  CReviewPanel* m_review = nullptr;

  QAction* m_actNew = nullptr;
  QAction* m_actOpen = nullptr;      // Consultar
  QAction* m_actUpdate = nullptr;    // Modificar
  QAction* m_actRegister = nullptr;  // Declaraciones
  QAction* m_actPrint = nullptr;
  QAction* m_actExportPdf = nullptr;
  QAction* m_actSave = nullptr;  // Ctrl+S only: the HTML copy
  QAction* m_actImportAnnex = nullptr;
  QAction* m_actExportAnnex = nullptr;
  QAction* m_actExit = nullptr;
  QAction* m_actToolBar = nullptr;
  QAction* m_actStatusBar = nullptr;
  QAction* m_actAbout = nullptr;
  QAction* m_actNewFrom = nullptr;
};

}  // namespace f7301
