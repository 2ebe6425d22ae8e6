#pragma once
// The browser page that shows the form. It only ever shows the program's own
// res: pages: every other navigation and every new window is refused, and
// the page's alert() boxes go through the program's message layer.
#include <QWebEnginePage>

namespace f7301 {

class CFormPage : public QWebEnginePage {
  Q_OBJECT

 public:
  CFormPage(QWebEngineProfile* profile, QObject* parent);

  static bool IsOwnPage(const QUrl& url);

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
  QWebEnginePage* createWindow(WebWindowType type) override;
  void javaScriptAlert(const QUrl& securityOrigin, const QString& msg) override;
};

}  // namespace f7301
