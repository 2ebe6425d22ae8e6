#pragma once
// The "res:" addresses of the form pages. The pages name their style sheet and
// scripts as "res://Formulario7301.exe/#23/#132" .. "#136" (HTML resources
// 132 to 136 of the program). This handler serves those resources from inside
// the program, the blank form at res://formulario7301.exe/131, and the pages
// the program generates at res://formulario7301.exe/generated/<n>. No other
// host is served, so pages can reach nothing outside the program.
#include <QByteArray>
#include <QUrl>
#include <QWebEngineUrlSchemeHandler>
#include <optional>

namespace f7301 {

inline constexpr const char* kResScheme = "res";
inline constexpr const char* kResHost = "formulario7301.exe";

// Must run before the QApplication is created.
void RegisterResScheme();

// Address of the blank form page.
QUrl BlankPageUrl();

struct PageResource {
  QByteArray contentType;
  QByteArray bytes;
};

class CResSchemeHandler : public QWebEngineUrlSchemeHandler {
  Q_OBJECT

 public:
  explicit CResSchemeHandler(QObject* parent = nullptr);

  void requestStarted(QWebEngineUrlRequestJob* job) override;

  // Makes `page` (Windows-1252 HTML) available and returns its address.
  // Only the newest generated page is kept.
  QUrl AddGeneratedPage(QByteArray page);

  // The resource that `url` names (131..136 or the generated page), if any.
  std::optional<PageResource> Find(const QUrl& url) const;

 private:
  int m_generatedSerial = 0;
  QByteArray m_generatedPage;
};

// Resource 131..136 as embedded in the program.
std::optional<PageResource> EmbeddedPageResource(int number);

}  // namespace f7301
