#pragma once
// A browser page that nobody sees: the review from the command line loads
// each declaration's form into it, and the register asks the form's scripts
// in it whether NITs are right. It never shows a box: the page's alert() and
// confirm() are handed on as texts, its console messages are dropped. Like
// the window's page it shows only the program's own res: pages and opens no
// other window.
#include <QWebEnginePage>

class QWebEngineProfile;

namespace f7301 {

class CResSchemeHandler;

class CReviewPage : public QWebEnginePage {
  Q_OBJECT

 public:
  CReviewPage(QWebEngineProfile* profile, QObject* parent);

 signals:
  // The page asked to show `text` in a box.
  void boxAsked(const QString& text);

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
  QWebEnginePage* createWindow(WebWindowType type) override;
  void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;
  bool javaScriptConfirm(const QUrl& securityOrigin, const QString& msg) override;
  bool javaScriptPrompt(const QUrl& securityOrigin, const QString& msg, const QString& defaultValue,
                        QString* result) override;
  void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                int lineNumber, const QString& sourceID) override;
};

// A CReviewPage in an off-the-record profile of its own that serves the
// program's res: pages, nothing kept on disk; the page goes before its
// profile.
class CHiddenPage : public QObject {
  Q_OBJECT

 public:
  explicit CHiddenPage(QObject* parent = nullptr);
  ~CHiddenPage() override;

  CReviewPage& page() const { return *m_page; }
  CResSchemeHandler& scheme() const { return *m_scheme; }

 private:
  QWebEngineProfile* m_profile;
  CResSchemeHandler* m_scheme;
  CReviewPage* m_page;
};

}  // namespace f7301
