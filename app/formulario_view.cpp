#include "app/formulario_view.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QFontDatabase>
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
#include "app/js_string.h"
#include "app/modal_prompts.h"
#include "app/page_activity.h"
#include "app/page_focus.h"
#include "app/paste_guard.h"
#include "app/printout/form_printout.h"
#include "app/res_scheme.h"
#include "app/spanish_locale.h"
#include "declaration/declaration_paths.h"
#include "next_month/next_month_record.h"
#include "rectification/rectified_number.h"

namespace f7301 {
namespace {

constexpr const char* kGeneraCaption = "Formulario RTQ-7301";
constexpr const char* kNewFromCaption = "Nuevo a partir de una declaración";
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
      m_focus(new CPageFocus(*this, *m_page, this)),
      m_drafts(new CDraftKeeper(*m_page, *this, this)),
      m_prompts(*this),
      m_annex(new CAnnexTransfer(*this, *m_page, m_prompts)),
      m_writer(m_prompts, PathFromUtf8(ProposedDestination().toStdString())),
      m_printout(new CFormPrintout(
          *m_page, *this, [this](auto use) { WithRunningHead(std::move(use)); },
          [this] { return m_shownDeclaration; }, this)) {
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
  connect(m_activity, &CPageActivity::changed, m_drafts, &CDraftKeeper::OnFieldReported);
  // An annex import fills the rows without the events of typing.
  m_annex->KeepImportedWith([this](std::function<void()> then) {
    m_drafts->OnPageChanged();
    m_drafts->FlushThen(std::move(then));
  });
  connect(m_annex, &CAnnexTransfer::rowsImported, m_focus, &CPageFocus::FocusForm);
  // A draft put back has its caret in the field it was left in.
  connect(m_drafts, &CDraftKeeper::draftRestored, m_focus, &CPageFocus::FocusView);
  connect(m_printout, &CFormPrintout::printFinished, this, &CFormularioView::printFinished);
  connect(m_printout, &CFormPrintout::statusText, this, &CFormularioView::statusText);
  connect(m_page, &QWebEnginePage::loadFinished, this, &CFormularioView::OnPageLoaded);
}

CFormularioView::~CFormularioView() {
  // The page must go before the profile it was made with.
  delete m_browser;
  delete m_page;
}

// The draft of the form on screen is written before any page replaces it.
void CFormularioView::OnInitialUpdate() {
  ShowPage(BlankPageUrl(), CDraftKeeper::PageKind::Blank, {}, {});
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
  // A read-only page's head is taken from the declaration it was made from,
  // which the store holds only until the next reading.
  std::optional<PrintedIdentity> identity;
  if (kind == CDraftKeeper::PageKind::ReadOnly)
    identity = IdentityOfDeclaration(m_xmlReader.store());
  std::function<void()> loaded = std::exchange(m_loadedNext, nullptr);
  ShowPage(url, kind, source, [this, source, identity, loaded] {
    m_shownDeclaration = source;
    m_shownIdentity = identity;
    if (loaded) loaded();
  });
}

void CFormularioView::ShowPage(const QUrl& url, CDraftKeeper::PageKind kind, const QString& source,
                               std::function<void()> loaded) {
  // Whatever a page asked for once loaded is dropped when another replaces it.
  m_whenLoaded = nullptr;
  m_drafts->FlushThen([this, url, kind, source, loaded = std::move(loaded)] {
    m_drafts->BeginPage(kind, source);
    m_shownDeclaration.clear();
    m_shownIdentity.reset();
    m_awaitedUrl = url;
    m_whenLoaded = loaded;
    m_browser->page()->load(url);
  });
}

void CFormularioView::OnPageLoaded(bool ok) {
  if (!m_whenLoaded || m_page->url() != m_awaitedUrl) return;
  const std::function<void()> then = std::exchange(m_whenLoaded, nullptr);
  if (ok) then();
}

void CFormularioView::OnFilePrint() { m_printout->Print(); }

void CFormularioView::OnFileExportPdf() { m_printout->ExportPdf(); }

// A form being filled is named by what its boxes hold now.
void CFormularioView::WithRunningHead(std::function<void(const QString&)> use) {
  if (m_shownIdentity) {
    use(QString::fromStdString(RunningHead(*m_shownIdentity)));
    return;
  }
  const QString script = QStringLiteral(
      "(function () { var f = document.forms['C'];"
      " function v(n) { var e = f && f.elements[n]; return e && typeof e.value == 'string' ?"
      " e.value : ''; }"
      " return [v('c2'), v('mes_ini'), v('anio_ini'), v('c1')]; })()");
  m_page->runJavaScript(script, [use = std::move(use)](const QVariant& result) {
    const QStringList parts = result.toStringList();
    auto part = [&parts](int i) {
      return i < parts.size() ? parts[i].toStdString() : std::string();
    };
    use(QString::fromStdString(RunningHead({part(0), part(1), part(2), part(3)})));
  });
}

void CFormularioView::OnFileOpen() { LoadDeclaration(LoadMode::Consultar); }

void CFormularioView::OnFileUpdate() { LoadDeclaration(LoadMode::Modificar); }

void CFormularioView::LoadDeclaration(LoadMode mode) {
  DeclarationLoader loader(m_prompts, m_xmlReader);
  m_loading = &loader;
  m_loadingMode = mode;
  const bool shown = loader.LoadDeclaration(mode);
  m_loading = nullptr;
  if (shown) emit declarationFileSeen(QString::fromStdString(PathToUtf8(loader.currentFile())));
}

void CFormularioView::OpenDeclarationFile(LoadMode mode, const QString& path) {
  LoadDeclarationFile(mode, path, nullptr);
}

void CFormularioView::LoadDeclarationFile(LoadMode mode, const QString& path,
                                          std::function<void()> loaded) {
  DeclarationLoader loader(m_prompts, m_xmlReader);
  m_loading = &loader;
  m_loadingMode = mode;
  m_loadedNext = std::move(loaded);
  const bool shown = loader.LoadDeclarationFile(mode, PathFromUtf8(path.toStdString()));
  m_loading = nullptr;
  m_loadedNext = nullptr;
  if (shown) emit declarationFileSeen(path);
}

void CFormularioView::OnFileNewFrom() {
  const std::optional<std::string> chosen = m_prompts.ChooseDeclarationFile(kNewFromCaption);
  if (chosen && !chosen->empty()) StartNextMonthFrom(QString::fromStdString(*chosen));
}

void CFormularioView::StartNextMonthFrom(const QString& path) {
  DeclarationLoader loader(m_prompts, m_xmlReader);
  if (!loader.ReadDeclaration(LoadMode::Consultar, PathFromUtf8(path.toStdString()))) return;
  const QString record = QString::fromStdString(NextMonthRecord(m_xmlReader.store()));
  emit declarationFileSeen(path);
  ShowPage(BlankPageUrl(), CDraftKeeper::PageKind::Blank, {},
           [this, record] { PutNextMonth(record); });
}

// The record goes back as a draft does; then each field it filled is left as
// after typing, so the page's checks of those fields run, and the form is
// kept at once: it holds what the user would otherwise type again.
void CFormularioView::PutNextMonth(const QString& record) {
  const QString script =
      QStringLiteral("(function (r) { return restauraborrador(r) && revisaborrador(r); })(%1)")
          .arg(record);
  m_page->runJavaScript(script, [this](const QVariant&) {
    m_drafts->OnPageChanged();
    m_drafts->FlushThen([this] { emit formPrepared(); });
  });
}

void CFormularioView::RectifyDeclaration(const QString& path) {
  // The number is read with the declaration: the store may hold another one
  // by the time the page has loaded.
  auto number = std::make_shared<QString>();
  LoadDeclarationFile(LoadMode::Modificar, path, [this, number] { TypeRectifiedNumber(*number); });
  *number = QString::fromStdString(RectifiedNumber(m_xmlReader.store()));
}

// Typed as the user types it, then the caret moves on to the fine, as the
// tab key would take it.
void CFormularioView::TypeRectifiedNumber(const QString& number) {
  const QString script =
      QStringLiteral(
          "(function (n) { var hecho = escribecampo('c1619', n);"
          " var multa = BuscaObj('c1620'); if (hecho && multa) multa.focus(); return hecho; })(%1)")
          .arg(JsString(number));
  m_page->runJavaScript(script, [this](const QVariant&) { emit formPrepared(); });
}

int CFormularioView::SaveHtmlCopy() { return m_writer.SaveHtmlCopy(); }

void CFormularioView::OnGeneraArchivo(const QByteArray& xml, const QByteArray& formNumber,
                                      const QByteArray& html, const QByteArray& nit) {
  if (m_writer.GeneraArchivo(ToStdString(xml), ToStdString(formNumber), ToStdString(html),
                             ToStdString(nit))) {
    const QString written = QString::fromStdString(PathToUtf8(m_writer.archivo()));
    RememberDeclarationFolder(written);
    m_shownDeclaration = written;
    m_drafts->OnDeclarationWritten();
    emit declarationFileSeen(written);
  }
}

}  // namespace f7301
