#pragma once
// A browser page that nobody sees: the review from the command line loads
// each declaration's form into it, and the register asks the form's scripts
// in it whether NITs are right. It never shows a box: the page's alert() and
// confirm() are handed on as texts, its console messages are dropped. Like
// the window's page it shows only the program's own res: pages and opens no
// other window.
#include <QWebEnginePage>

namespace f7301 {

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

}  // namespace f7301
