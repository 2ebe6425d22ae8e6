#pragma once
// Archivo → Importar anexo and Exportar anexo, and a CSV file dropped on the
// window: the file is read and written by the core, the rows are checked
// and put into the annex by the form page, and this only carries them
// between the two and shows the outcome.
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QWebEnginePage;
class QWidget;

namespace f7301 {

class UserPrompts;
struct AnnexReadForPage;

class CAnnexTransfer : public QObject {
  Q_OBJECT

 public:
  // `view` shows the page and owns this; its window owns the dialogs.
  CAnnexTransfer(QWidget& view, QWebEnginePage& page, UserPrompts& prompts);

  // True while the page on screen is a form that can be filled (the blank
  // or an editable page; not a read-only page, not while loading).
  bool available() const { return m_available; }

  // The "Importar anexo" dialog, then ImportFile.
  void Import();
  // Reads `path` off the window's thread and hands its rows to the page; one
  // message tells the outcome.
  void ImportFile(const QString& path);
  // Runs, once rows came in and before the message about them, what keeps
  // them (the draft written), then `then`.
  using KeepThen = std::function<void(std::function<void()> then)>;
  void KeepImportedWith(KeepThen keep) { m_keep = std::move(keep); }
  // The complete rows of the annex, then the "Exportar anexo" dialog.
  void Export();

 signals:
  void availableChanged(bool available);
  // An import or export has ended with its message (or was cancelled).
  void finished();
  // An import put rows on the page: the form has changed.
  void rowsImported();

 private:
  void OnLoadFinished(bool ok);
  void SetAvailable(bool available);
  void Show(const std::string& message);
  void OfferToPage(std::shared_ptr<const AnnexReadForPage> read);

  QWidget& m_view;
  QWebEnginePage& m_page;
  UserPrompts& m_prompts;
  bool m_available = false;
  KeepThen m_keep;
};

}  // namespace f7301
