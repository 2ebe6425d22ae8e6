#include "app/form_page.h"

#include <QWebEngineHistory>
#include <QWebEngineView>

#include "app/modal_prompts.h"
#include "app/res_scheme.h"

namespace f7301 {

CFormPage::CFormPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent) {
  // With no history there is nothing to go back or forward to, and the
  // browser's back and forward actions stay disabled.
  connect(this, &QWebEnginePage::loadFinished, this, [this] { history()->clear(); });
}

bool CFormPage::IsOwnPage(const QUrl& url) {
  return url.scheme() == QLatin1String(kResScheme) && url.host() == QLatin1String(kResHost);
}

// The page being filled or shown never slips away: a step through the
// history (the mouse's back and forward buttons, Alt+Left/Right, a swipe) or
// a reload would throw away what the user typed, so both are refused. Pages
// change only by Nuevo, Consultar and Modificar.
bool CFormPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool) {
  if (type == NavigationTypeBackForward || type == NavigationTypeReload) return false;
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
