#include "app/formulario_app.h"

#include <QCoreApplication>
#include <QIcon>
#include <QSettings>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <algorithm>
#include <thread>

#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "app/formulario_doc.h"
#include "app/formulario_view.h"
#include "app/main_frame.h"
#include "app/modal_prompts.h"
#include "app/res_scheme.h"
#include "app/spanish_locale.h"
#include "app/termination_signals.h"
#include "app/toolbar_pictures.h"

namespace f7301 {
namespace {

// The allocator gives each new thread a heap arena of its own, up to eight
// per core; what a thread frees stays in its arena, in pages shared with
// what is still in use there. Each opening of the register reads on fresh
// threads, so the program kept tens of MiB of freed memory it never used
// again. Two arenas per core (no fewer than four) keep that bounded; fewer
// would have the reading threads wait on each other's allocations (the
// first opening of 12,000 files took twice as long with one per core). Set
// before any thread starts.
void LimitHeapArenas() {
#ifdef __GLIBC__
  mallopt(M_ARENA_MAX, static_cast<int>(std::max(4u, 2 * std::thread::hardware_concurrency())));
#endif
}

std::unique_ptr<QApplication> MakeApplication(int& argc, char** argv) {
  LimitHeapArenas();
  RegisterResScheme();
  QCoreApplication::setOrganizationName(QStringLiteral("Local AppWizard-Generated Applications"));
  QCoreApplication::setApplicationName(QString::fromLatin1(kAppTitle));
  QCoreApplication::setApplicationVersion(QStringLiteral(F7301_VERSION));
  auto app = std::make_unique<QApplication>(argc, argv);
  // The desktop ties the window to formulario7301.desktop (its name and icon
  // in the task bar, also under Wayland).
  QGuiApplication::setDesktopFileName(QStringLiteral("formulario7301"));
  UseSpanishEverywhere(*app);
  return app;
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : kProgramIconSizes) {
    icon.addFile(QStringLiteral(":/icons/formulario7301-%1.png").arg(size));
  }
  return icon;
}

}  // namespace

CFormularioApp::CFormularioApp(int& argc, char** argv) : m_app(MakeApplication(argc, argv)) {}

CFormularioApp::~CFormularioApp() {
  m_termination.reset();
  m_mainFrame.reset();
  m_document.reset();
}

void CFormularioApp::WriteZoneSetting() {
#ifdef Q_OS_WIN
  // Puts about:blank in the trusted zone of the system's browser settings
  // for this user; failures are of no consequence to the program.
  QSettings zone(QStringLiteral("HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\"
                                "Internet Settings\\ZoneMap\\Domains\\blank"),
                 QSettings::NativeFormat);
  zone.setValue(QStringLiteral("about"), 2);
#endif
}

bool CFormularioApp::InitInstance() {
  WriteZoneSetting();
  QApplication::setWindowIcon(ProgramIcon());

  m_document = std::make_unique<CFormularioDoc>();
  m_mainFrame = std::make_unique<CMainFrame>(*m_document);
  QStringList arguments = QCoreApplication::arguments();
  if (!arguments.isEmpty()) arguments.removeFirst();
  if (!ProcessShellCommand(arguments)) return false;

  m_mainFrame->showMaximized();
  // A logout or shutdown ends the program at once, whatever message or
  // dialog is open: the draft is written from the values kept, without a box.
  m_termination = std::make_unique<CTerminationSignals>(
      [frame = m_mainFrame.get()] { frame->view()->drafts().KeepForEnd(); });
  QObject::connect(m_mainFrame->view()->browser()->page(), &QWebEnginePage::loadFinished,
                   m_termination.get(), &CTerminationSignals::TakeSignalsBack);
  m_mainFrame->view()->drafts().OfferAbandonedDrafts();
  return true;
}

bool CFormularioApp::ProcessShellCommand(const QStringList& arguments) {
  if (arguments.isEmpty()) {
    m_document->OnNewDocument();
  } else if (!m_document->OnOpenDocument(arguments.first())) {
    ShowMessage(nullptr, PromptKind::AppMessage,
                QStringLiteral("No se puede abrir el documento %1.").arg(arguments.first()),
                QString::fromLatin1(kAppTitle));
    return false;
  }
  m_mainFrame->UpdateTitle();
  m_mainFrame->view()->OnInitialUpdate();
  return true;
}

int CFormularioApp::Run() { return QApplication::exec(); }

}  // namespace f7301
