#include "app/annex_transfer.h"

#include <QDir>
#include <QFutureWatcher>
#include <QWebEnginePage>
#include <QWidget>
#include <QtConcurrent/QtConcurrentRun>
#include <filesystem>
#include <memory>

#include "annexcsv/annex_page_calls.h"
#include "annexcsv/annex_reader.h"
#include "annexcsv/annex_report.h"
#include "annexcsv/annex_writer.h"
#include "app/dialog_folders.h"
#include "app/modal_prompts.h"
#include "declaration/user_prompts.h"

namespace f7301 {
namespace {

std::filesystem::path ToPath(const QString& path) {
  return std::filesystem::path(path.toStdU16String());
}

QString FromUtf8(const std::string& text) { return QString::fromUtf8(text); }

std::string ToUtf8(const QVariant& value) { return value.toString().toUtf8().toStdString(); }

}  // namespace

CAnnexTransfer::CAnnexTransfer(QWidget& view, QWebEnginePage& page, UserPrompts& prompts)
    : QObject(&view), m_view(view), m_page(page), m_prompts(prompts) {
  connect(&m_page, &QWebEnginePage::loadStarted, this, [this] { SetAvailable(false); });
  connect(&m_page, &QWebEnginePage::loadFinished, this, &CAnnexTransfer::OnLoadFinished);
}

// The read-only page carries no scripts: a page without the import entry
// cannot take an annex.
void CAnnexTransfer::OnLoadFinished(bool ok) {
  if (!ok) return SetAvailable(false);
  m_page.runJavaScript(QStringLiteral("typeof importaanexo == 'function'"),
                       [this](const QVariant& result) { SetAvailable(result.toBool()); });
}

void CAnnexTransfer::SetAvailable(bool available) {
  if (available == m_available) return;
  m_available = available;
  emit availableChanged(available);
}

void CAnnexTransfer::Show(const std::string& message) {
  m_prompts.ShowViewMessage(message, kAnnexMessageCaption);
}

void CAnnexTransfer::Import() {
  if (!m_available) return;
  const auto path = AskAnnexImportFile(m_view.window(), ProposedDestination());
  if (!path) return emit finished();
  ImportFile(*path);
}

// What the window needs of a file to import: read, taken apart and turned
// into the page's script, all away from the window's thread.
struct AnnexReadForPage {
  AnnexFile file;
  QString script;
};

namespace {

std::shared_ptr<const AnnexReadForPage> ReadAndPrepare(const std::filesystem::path& path) {
  auto read = std::make_shared<AnnexReadForPage>();
  read->file = ReadAnnexCsvFile(path);
  if (read->file.refusal.empty()) read->script = FromUtf8(AnnexImportScript(read->file));
  return read;
}

}  // namespace

void CAnnexTransfer::ImportFile(const QString& path) {
  if (!m_available) return;
  using Watcher = QFutureWatcher<std::shared_ptr<const AnnexReadForPage>>;
  auto* watcher = new Watcher(this);
  connect(watcher, &Watcher::finished, this, [this, watcher] {
    watcher->deleteLater();
    OfferToPage(watcher->result());
  });
  watcher->setFuture(QtConcurrent::run(ReadAndPrepare, ToPath(path)));
}

void CAnnexTransfer::OfferToPage(std::shared_ptr<const AnnexReadForPage> read) {
  if (!read->file.refusal.empty() || !m_available) {
    // The page may have gone (Nuevo, Modificar) while the file was read.
    Show(read->file.refusal.empty() ? kFormDidNotAnswer : read->file.refusal);
    return emit finished();
  }
  m_page.runJavaScript(read->script, [this, read](const QVariant& result) {
    const auto answer = ParseAnnexImportAnswer(ToUtf8(result));
    const std::string message = answer ? AnnexImportReport(read->file, *answer) : kFormDidNotAnswer;
    auto tell = [this, message, imported = answer && answer->imported > 0] {
      Show(message);
      if (imported) emit rowsImported();
      emit finished();
    };
    // The rows are kept before the message is shown: a program ended while
    // it is open still has them.
    if (answer && answer->imported > 0 && m_keep) return m_keep(tell);
    tell();
  });
}

void CAnnexTransfer::Export() {
  if (!m_available) return;
  m_page.runJavaScript(FromUtf8(AnnexExportScript()), [this](const QVariant& result) {
    const auto answer = ParseAnnexExportAnswer(ToUtf8(result));
    if (!answer) {
      Show(kFormDidNotAnswer);
      return emit finished();
    }
    if (!answer->refusal.empty() || answer->sales.empty()) {
      Show(answer->refusal.empty() ? kNothingToExport : answer->refusal);
      return emit finished();
    }
    const AnnexSales& sales = answer->sales;
    const auto path = AskAnnexExportFile(
        m_view.window(), QDir(ProposedDestination()).filePath(QStringLiteral("anexo.csv")));
    if (path) {
      const std::string name = path->toUtf8().toStdString();
      const bool written = WriteAnnexCsv(ToPath(*path), sales) == ReplaceResult::kReplaced;
      Show(written ? AnnexExportReport(static_cast<int>(sales.size()), name, answer->incomplete)
                   : AnnexExportFailure(name));
    }
    emit finished();
  });
}

}  // namespace f7301
