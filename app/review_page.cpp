#include "app/review_page.h"

#include <QWebEngineProfile>
#include <QWebEngineSettings>

#include "app/form_page.h"
#include "app/res_scheme.h"
#include "app/spanish_locale.h"

namespace f7301 {

CReviewPage::CReviewPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent) {
  settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
  settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
  settings()->setAttribute(QWebEngineSettings::PluginsEnabled, false);
}

bool CReviewPage::acceptNavigationRequest(const QUrl& url, NavigationType, bool) {
  return CFormPage::IsOwnPage(url);
}

QWebEnginePage* CReviewPage::createWindow(WebWindowType) { return nullptr; }

void CReviewPage::javaScriptAlert(const QUrl&, const QString& msg) { emit boxAsked(msg); }

bool CReviewPage::javaScriptConfirm(const QUrl&, const QString& msg) {
  emit boxAsked(msg);
  return false;
}

bool CReviewPage::javaScriptPrompt(const QUrl&, const QString& msg, const QString&, QString*) {
  emit boxAsked(msg);
  return false;
}

// The form's scripts write nothing there that the review needs, and a
// terminal must get only the review's own lines.
void CReviewPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel, const QString&, int,
                                           const QString&) {}

CHiddenPage::CHiddenPage(QObject* parent)
    : QObject(parent),
      m_profile(new QWebEngineProfile(this)),
      m_scheme(new CResSchemeHandler(this)),
      m_page(new CReviewPage(m_profile, this)) {
  m_profile->installUrlSchemeHandler(kResScheme, m_scheme);
  m_profile->setHttpAcceptLanguage(QString::fromLatin1(kProgramLanguage));
}

CHiddenPage::~CHiddenPage() { delete m_page; }

}  // namespace f7301
