#include "tests/app/app_test_support.h"

#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <algorithm>

#include "app/formulario_app.h"
#include "app/formulario_view.h"
#include "app/main_frame.h"

namespace f7301::test {

PromptScript::PromptScript() {
  SetPromptAnswerer([this](const PromptRequest& request) -> std::optional<QString> {
    asked.push_back(request);
    auto it = std::find_if(m_answers.begin(), m_answers.end(),
                           [&](const auto& a) { return a.first == request.kind; });
    if (it == m_answers.end()) return std::nullopt;
    std::optional<QString> answer;
    answer.swap(it->second);
    m_answers.erase(it);
    return answer;
  });
}

PromptScript::~PromptScript() { SetPromptAnswerer({}); }

void PromptScript::Answer(PromptKind kind, std::optional<QString> answer) {
  m_answers.emplace_back(kind, std::move(answer));
}

int PromptScript::CountOf(PromptKind kind) const {
  return static_cast<int>(std::count_if(asked.begin(), asked.end(),
                                        [&](const PromptRequest& r) { return r.kind == kind; }));
}

QStringList PromptScript::TextsOf(PromptKind kind) const {
  QStringList texts;
  for (const auto& r : asked) {
    if (r.kind == kind) texts << r.text;
  }
  return texts;
}

CMainFrame& Frame() { return *App().mainFrame(); }

QWebEnginePage& Page() { return *Frame().view()->browser()->page(); }

QVariant RunJs(const QString& js, int timeoutMs) {
  auto result = std::make_shared<std::optional<QVariant>>();
  Page().runJavaScript(js, [result](const QVariant& v) { *result = v; });
  if (!QTest::qWaitFor([&] { return result->has_value(); }, timeoutMs)) return QVariant();
  return result->value_or(QVariant());
}

bool WaitForPage(const std::function<bool(const QString&)>& isWanted, int timeoutMs) {
  return QTest::qWaitFor(
      [&] {
        if (!isWanted(Page().url().toString())) return false;
        return RunJs(QStringLiteral("document.readyState"), 2000).toString() ==
               QLatin1String("complete");
      },
      timeoutMs);
}

bool WaitForBlankPage() {
  return WaitForPage([](const QString& url) { return url == "res://formulario7301.exe/131"; });
}

bool ReloadBlankForm() {
  RunJs(QStringLiteral("window.__anterior = true"));
  Frame().OnFileNew();
  return WaitForBlankPage() &&
         WaitForJs(QStringLiteral(
             "window.__anterior === undefined && document.readyState === 'complete'"));
}

bool WaitForJs(const QString& js, int timeoutMs) {
  return QTest::qWaitFor([&] { return RunJs(js, 2000).toBool(); }, timeoutMs);
}

}  // namespace f7301::test
