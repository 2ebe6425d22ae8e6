#pragma once
// Shared by the window tests: one test runner over several QtTest classes in
// one process (the program's start-up runs once), a recorder that answers
// the program's dialogs, and helpers that wait on the browser page.
#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "app/modal_prompts.h"

class QWebEnginePage;

namespace f7301 {

class CFormularioApp;
class CMainFrame;

namespace test {

// Registers a QtTest class with the runner (see app_test_main.cpp).
using TestFactory = std::function<QObject*()>;
int RegisterTest(const char* name, TestFactory factory);
#define F7301_APP_TEST(Class)           \
  static const int Class##_registered = \
      ::f7301::test::RegisterTest(#Class, [] { return new Class; })

// The program started by the runner.
CFormularioApp& App();

// The runner keeps drafts in XDG_DATA_HOME = this variable's folder when set
// (a fresh temporary folder otherwise), and with the second variable set
// answers the program's start-up question with its text. Draft tests set
// both for the programs they start.
inline constexpr const char* kDataHomeVariable = "F7301_TEST_DATA_HOME";
inline constexpr const char* kStartAnswerVariable = "F7301_TEST_START_ANSWER";

class PromptScript;
// The answers given at start-up (nothing unless the second variable is set).
PromptScript* StartPrompts();
CMainFrame& Frame();
QWebEnginePage& Page();

// Answers the program's dialogs from scripted answers and records every
// question and message. Installed for its lifetime.
class PromptScript {
 public:
  PromptScript();
  ~PromptScript();

  // The next questions of `kind` get these answers, in order; nothing left
  // means "cancelled".
  void Answer(PromptKind kind, std::optional<QString> answer);

  std::vector<PromptRequest> asked;
  int CountOf(PromptKind kind) const;
  QStringList TextsOf(PromptKind kind) const;

 private:
  std::vector<std::pair<PromptKind, std::optional<QString>>> m_answers;
};

// Runs `js` in the page and waits for its result.
QVariant RunJs(const QString& js, int timeoutMs = 15000);

// Waits until the page at `url` (or at a url accepted by the predicate) has
// finished loading.
bool WaitForPage(const std::function<bool(const QString& url)>& isWanted, int timeoutMs = 30000);
bool WaitForBlankPage();

// Nuevo, and waits until the new blank form (not the one on screen before)
// has loaded.
bool ReloadBlankForm();

// Waits until `js` evaluates to true.
bool WaitForJs(const QString& js, int timeoutMs = 15000);

}  // namespace test
}  // namespace f7301
