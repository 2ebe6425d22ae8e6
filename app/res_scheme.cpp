#include "app/res_scheme.h"

#include <QBuffer>
#include <QFile>
#include <QRegularExpression>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlScheme>

namespace f7301 {
namespace {

const QByteArray kHtmlType = "text/html;charset=windows-1252";

struct ResourceFile {
  int number;
  const char* path;
  const char* contentType;
};

constexpr ResourceFile kResources[] = {
    {131, ":/page/131.html", "text/html;charset=windows-1252"},
    {132, ":/page/132.css", "text/css"},
    {133, ":/page/133.js", "text/javascript;charset=utf-8"},
    {134, ":/page/134.js", "text/javascript;charset=utf-8"},
    {135, ":/page/135.js", "text/javascript;charset=utf-8"},
    {136, ":/page/136.js", "text/javascript;charset=utf-8"},
};

// "#23/#132" arrives as the fragment "23/#132" of res://formulario7301.exe/.
std::optional<int> ResourceNumberOf(const QUrl& url) {
  static const QRegularExpression fragmentForm(QStringLiteral("^23/#(13[1-6])$"));
  static const QRegularExpression pathForm(QStringLiteral("^/(13[1-6])$"));
  if (url.hasFragment() && (url.path().isEmpty() || url.path() == QLatin1String("/"))) {
    const auto m = fragmentForm.match(url.fragment(QUrl::FullyDecoded));
    if (m.hasMatch()) return m.captured(1).toInt();
    return std::nullopt;
  }
  const auto m = pathForm.match(url.path());
  if (m.hasMatch()) return m.captured(1).toInt();
  return std::nullopt;
}

}  // namespace

void RegisterResScheme() {
  QWebEngineUrlScheme scheme(kResScheme);
  scheme.setSyntax(QWebEngineUrlScheme::Syntax::Host);
  scheme.setFlags(QWebEngineUrlScheme::SecureScheme | QWebEngineUrlScheme::LocalScheme |
                  QWebEngineUrlScheme::LocalAccessAllowed);
  QWebEngineUrlScheme::registerScheme(scheme);
}

QUrl BlankPageUrl() { return QUrl(QStringLiteral("res://formulario7301.exe/131")); }

std::optional<PageResource> EmbeddedPageResource(int number) {
  for (const auto& r : kResources) {
    if (r.number != number) continue;
    QFile file(QString::fromLatin1(r.path));
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return PageResource{r.contentType, file.readAll()};
  }
  return std::nullopt;
}

CResSchemeHandler::CResSchemeHandler(QObject* parent) : QWebEngineUrlSchemeHandler(parent) {}

QUrl CResSchemeHandler::AddGeneratedPage(QByteArray page) {
  m_generatedPage = std::move(page);
  ++m_generatedSerial;
  return QUrl(QStringLiteral("res://formulario7301.exe/generated/%1").arg(m_generatedSerial));
}

std::optional<PageResource> CResSchemeHandler::Find(const QUrl& url) const {
  if (url.scheme() != QLatin1String(kResScheme) || url.host() != QLatin1String(kResHost)) {
    return std::nullopt;
  }
  if (url.path() == QStringLiteral("/generated/%1").arg(m_generatedSerial) &&
      m_generatedSerial > 0) {
    return PageResource{kHtmlType, m_generatedPage};
  }
  if (const auto number = ResourceNumberOf(url)) return EmbeddedPageResource(*number);
  return std::nullopt;
}

void CResSchemeHandler::requestStarted(QWebEngineUrlRequestJob* job) {
  const QUrl url = job->requestUrl();
  if (url.host() != QLatin1String(kResHost)) {
    job->fail(QWebEngineUrlRequestJob::RequestDenied);
    return;
  }
  auto resource = Find(url);
  if (!resource) {
    job->fail(QWebEngineUrlRequestJob::UrlNotFound);
    return;
  }
  auto* buffer = new QBuffer(job);
  buffer->setData(resource->bytes);
  buffer->open(QIODevice::ReadOnly);
  job->reply(resource->contentType, buffer);
}

}  // namespace f7301
