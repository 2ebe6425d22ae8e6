#include "app/form_page.h"

#include <QWebEngineView>

#include "app/modal_prompts.h"
#include "app/res_scheme.h"

namespace f7301 {

CFormPage::CFormPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent) {}

bool CFormPage::IsOwnPage(const QUrl& url) {
  return url.scheme() == QLatin1String(kResScheme) && url.host() == QLatin1String(kResHost);
}

bool CFormPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool) {
  return IsOwnPage(url);
}

QWebEnginePage* CFormPage::createWindow(WebWindowType) { return nullptr; }

void CFormPage::javaScriptAlert(const QUrl&, const QString& msg) {
  QWidget* parent = nullptr;
  if (auto* view = QWebEngineView::forPage(this)) {
    parent = view->window();
  }
  ShowMessage(parent, PromptKind::ScriptAlert, msg, QString::fromLatin1(kAppTitle));
}

}  // namespace f7301
