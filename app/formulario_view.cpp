#include "app/formulario_view.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPrinter>
#include <QVBoxLayout>
#include <QWebChannel>
#include <QWebEngineProfile>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "app/annex_transfer.h"
#include "app/dialog_folders.h"
#include "app/external_object.h"
#include "app/form_page.h"
#include "app/modal_prompts.h"
#include "app/page_activity.h"
#include "app/paste_guard.h"
#include "app/res_scheme.h"
#include "app/spanish_locale.h"
#include "declaration/declaration_paths.h"

namespace f7301 {
namespace {

constexpr const char* kGeneraCaption = "Formulario RTQ-7301";
constexpr const char* kUnstorableText =
    "Error:\nLa declaración contiene caracteres que no pueden guardarse en el archivo. No se ha "
    "generado el archivo de la declaración.";

std::string ToStdString(const QByteArray& bytes) {
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace

CFormularioView::CFormularioView(QWidget* parent)
    : QWidget(parent),
      m_profile(new QWebEngineProfile(this)),  // off the record: nothing kept on disk
      m_scheme(new CResSchemeHandler(this)),
      m_page(new CFormPage(m_profile, this)),
      m_browser(new QWebEngineView(this)),
      m_channel(new QWebChannel(this)),
      m_external(new CExternalObject(this)),
      m_activity(new CPageActivity(this)),
      m_drafts(new CDraftKeeper(*m_page, *this, this)),
      m_prompts(*this),
      m_annex(new CAnnexTransfer(*this, *m_page, m_prompts)),
      m_writer(m_prompts, PathFromUtf8(ProposedDestination().toStdString())) {
  m_profile->installUrlSchemeHandler(kResScheme, m_scheme);
  m_profile->setHttpAcceptLanguage(QString::fromLatin1(kProgramLanguage));
  m_profile->scripts()->insert(CExternalObject::InjectedScript());

  auto* settings = m_page->settings();
  settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
  settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
  settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
  // The form is set in Verdana. Where Verdana is missing, Chromium falls back
  // to its serif default; DejaVu Sans (drawn after the same model) reads much
  // closer to the form.
  if (QFontDatabase::hasFamily(QStringLiteral("DejaVu Sans"))) {
    settings->setFontFamily(QWebEngineSettings::StandardFont, QStringLiteral("DejaVu Sans"));
  }

  m_channel->registerObject(QString::fromLatin1(CExternalObject::kChannelName), m_external);
  m_channel->registerObject(QString::fromLatin1(CPageActivity::kChannelName), m_activity);
  m_page->setWebChannel(m_channel);
  m_browser->setPage(m_page);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_browser);
  setFocusProxy(m_browser);

  QCoreApplication::instance()->installEventFilter(new CPasteGuard(m_browser, this));

  connect(m_external, &CExternalObject::generaArchivo, this, &CFormularioView::OnGeneraArchivo);
  connect(m_external, &CExternalObject::generaArchivoRefused, this,
          [this] { m_prompts.ShowViewMessage(kUnstorableText, kGeneraCaption); });
  connect(m_activity, &CPageActivity::changed, m_drafts, &CDraftKeeper::OnPageChanged);
  // An annex import fills the rows without the events of typing.
  connect(m_annex, &CAnnexTransfer::rowsImported, m_drafts, &CDraftKeeper::OnPageChanged);
  connect(m_browser, &QWebEngineView::printFinished, this, &CFormularioView::OnPrintFinished);
}

CFormularioView::~CFormularioView() {
  // The page must go before the profile it was made with.
  delete m_browser;
  delete m_page;
}

// The draft of the form on screen is written before any page replaces it.
void CFormularioView::OnInitialUpdate() {
  m_drafts->FlushThen([this] {
    m_drafts->BeginPage(CDraftKeeper::PageKind::Blank);
    m_page->load(BlankPageUrl());
  });
}

void CFormularioView::ShowGeneratedPage(const std::string& page) {
  if (m_browser->page() == nullptr) {
    ShowMessage(window(), PromptKind::AppMessage, QStringLiteral("Error 1"),
                QString::fromLatin1(kAppTitle));
    return;
  }
  // Served through the res: handler rather than setHtml: a data URL is limited
  // to 2 MB, and a page with a full annex is close to a megabyte.
  const QUrl url =
      m_scheme->AddGeneratedPage(QByteArray(page.data(), static_cast<qsizetype>(page.size())));
  const auto kind = m_loadingMode == LoadMode::Modificar ? CDraftKeeper::PageKind::Editable
                                                         : CDraftKeeper::PageKind::ReadOnly;
  const QString source =
      m_loading ? QString::fromStdString(m_loading->currentFile().string()) : QString();
  m_drafts->FlushThen([this, url, kind, source] {
    m_drafts->BeginPage(kind, source);
    m_browser->page()->load(url);
  });
}

void CFormularioView::OnFilePrint() {
  if (m_printer) return;  // the previous print is still being made
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  if (!AskPrinter(window(), *printer)) return;
  m_printer = std::move(printer);
  m_browser->print(m_printer.get());
}

void CFormularioView::OnPrintFinished(bool success) {
  m_printer.reset();
  if (!success) {
    ShowMessage(window(), PromptKind::AppMessage,
                QStringLiteral("Error:\nNo pudo imprimirse el formulario."),
                QString::fromLatin1(kAppTitle));
  }
  emit printFinished(success);
}

void CFormularioView::OnFileOpen() { LoadDeclaration(LoadMode::Consultar); }

void CFormularioView::OnFileUpdate() { LoadDeclaration(LoadMode::Modificar); }

void CFormularioView::LoadDeclaration(LoadMode mode) {
  DeclarationLoader loader(m_prompts, m_xmlReader);
  m_loading = &loader;
  m_loadingMode = mode;
  loader.LoadDeclaration(mode);
  m_loading = nullptr;
}

int CFormularioView::SaveHtmlCopy() { return m_writer.SaveHtmlCopy(); }

void CFormularioView::OnGeneraArchivo(const QByteArray& xml, const QByteArray& formNumber,
                                      const QByteArray& html, const QByteArray& nit) {
  if (m_writer.GeneraArchivo(ToStdString(xml), ToStdString(formNumber), ToStdString(html),
                             ToStdString(nit))) {
    RememberDeclarationFolder(QString::fromStdString(PathToUtf8(m_writer.archivo())));
    m_drafts->OnDeclarationWritten();
  }
}

}  // namespace f7301
