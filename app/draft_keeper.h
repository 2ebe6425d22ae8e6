#pragma once
// Keeps a draft of the form on screen so that nothing typed is lost: written
// shortly after each change and at once before the page is replaced or the
// program closes, removed once "Validar" has written the declaration, and
// offered back when the program starts after one was left behind. The files
// are the core's DraftStore; the page makes and takes the record of its
// fields (borradorformulario, restauraborrador).
#include <QObject>
#include <QString>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <set>

#include "draft/draft_store.h"
#include "draft/kept_page_record.h"

class QWebEnginePage;
class QWidget;

namespace f7301 {

class CDraftKeeper : public QObject {
  Q_OBJECT

 public:
  enum class PageKind { Blank, Editable, ReadOnly };

  // The longest a change waits before it is written.
  static constexpr int kDelayMs = 1000;
  // How long the page's whole record is awaited before the values kept are
  // written without it, and, closing the window, before the program ends.
  static constexpr int kAnswerWaitMs = 300;
  static constexpr int kCloseWaitMs = 5000;

  CDraftKeeper(QWebEnginePage& page, QWidget& window, QObject* parent = nullptr);

  // A new page goes on screen: the blank form, or a reopened declaration
  // (`sourceFile`) read-only or for correction. Call FlushThen first.
  void BeginPage(PageKind kind, const QString& sourceFile = {});

  // The page changed (user typing); written within kDelayMs.
  void OnPageChanged();
  // The page reported the value of a field as the user typed or chose it:
  // kept at once, written within kDelayMs whatever holds the page.
  void OnFieldReported(const QString& name, const QString& value);

  // Writes the draft of the page on screen, if it has changed since the
  // last write, then runs `then` (at once when there is nothing to write).
  void FlushThen(std::function<void()> then);
  // The same, waiting for it (closing the program).
  void FlushNow();
  // The program ends on a signal: the draft is written at once from the
  // values kept, without asking the page, and never with a box; a failure
  // goes to standard error.
  void KeepForEnd();

  // "Validar" wrote the declaration of the form on screen.
  void OnDeclarationWritten();

  // Start-up: offers, one at a time and newest first, the drafts left by
  // programs that have ended. The first one accepted is put back on the
  // blank form (which must be loading or loaded); one refused ("No", then
  // "Sí" to the second question when it holds anything) is removed, and the
  // next is offered; a question put off (Esc, closed) ends the questions and
  // every draft stays for the next start. Those that cannot be read are set
  // aside, all in one message.
  void OfferAbandonedDrafts();

  // The file of the draft being kept now (it may not exist yet).
  QString currentDraftFile() const;
  bool isKeeping() const { return m_store.isOpen(); }

 signals:
  // A draft was written; a recovered draft is back on the page, or could not
  // be put back (its file is kept as it was).
  void draftWritten();
  void draftRestored();
  void draftRestoreFailed();

 private:
  bool IsKeepable() const;
  enum class Written { kWritten, kUnchanged, kRefused };
  // The page's whole record into the kept values, then `then`.
  void AskPage(std::function<void()> then);
  void OnTimer();
  // Writes the kept values; a refusal is told once, with a box.
  void WriteKept();
  Written WriteRecord(const QString& pageRecord);
  // Once per run: drafts cannot be kept, what is typed is not safe.
  void TellWriteFailure();
  enum class Offer { kRestoring, kDiscarded, kPutOff };
  Offer OfferOne(const AbandonedDraft& found);
  void Restore(const Draft& draft);
  void KeepUnrestoredDraft();

  QWebEnginePage& m_page;
  QWidget& m_window;
  DraftStore m_store;
  QTimer m_timer;
  PageKind m_kind = PageKind::Blank;
  QString m_sourceFile;
  int m_form = 1;          // this program's number of the form on screen
  bool m_touched = false;  // changed since shown, written or validated
  bool m_written = false;  // the form on screen has a draft file
  QString m_lastRecord;    // the page record last written
  KeptPageRecord m_kept;   // the values of the form on screen, as last reported
  int m_asked = 0;         // counts the page's records asked for
  int m_answered = 0;      // the last of them answered
  bool m_toldWriteFailure = false;
  std::set<std::filesystem::path> m_toldOtherVersion;  // drafts of another version, told of
  int m_epoch = 0;                                     // counts page changes and validations
  bool m_pageLoaded = false;
  std::function<void()> m_pendingRestore;  // waits for the blank form to load
  bool m_restoring = false;                // a draft is being put back
};

}  // namespace f7301
