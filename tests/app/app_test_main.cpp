// Starts the program as a user would (empty command line), then runs the
// registered QtTest classes against its window: all of them, or the one
// named by the first argument (ctest runs each class in its own process).
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/formulario_app.h"
#include "tests/app/app_test_support.h"

namespace f7301::test {
namespace {

std::map<std::string, TestFactory>& Registry() {
  static std::map<std::string, TestFactory> registry;
  return registry;
}

CFormularioApp* g_app = nullptr;
PromptScript* g_startPrompts = nullptr;

}  // namespace

int RegisterTest(const char* name, TestFactory factory) {
  Registry()[name] = std::move(factory);
  return 0;
}

CFormularioApp& App() { return *g_app; }

PromptScript* StartPrompts() { return g_startPrompts; }

}  // namespace f7301::test

int main(int argc, char** argv) {
  using namespace f7301::test;
  // Kept drafts go to a folder of the run's own (or the one a parent test
  // names), never to the user's, and no draft of an earlier run is offered.
  QTemporaryDir dataHome;
  const QByteArray named = qgetenv(kDataHomeVariable);
  qputenv("XDG_DATA_HOME", named.isEmpty() ? dataHome.path().toLocal8Bit() : named);
  // A child started by a draft test answers the start-up question itself.
  std::unique_ptr<PromptScript> startAnswers;
  const QByteArray startAnswer = qgetenv(kStartAnswerVariable);
  if (!startAnswer.isEmpty()) {
    startAnswers = std::make_unique<PromptScript>();
    startAnswers->Answer(f7301::PromptKind::Question, QString::fromUtf8(startAnswer));
    g_startPrompts = startAnswers.get();
  }
  // The program's settings go to a folder of this run, not the user's.
  QTemporaryDir settings;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
  // The program sees no arguments: they are the runner's.
  int appArgc = 1;
  f7301::CFormularioApp app(appArgc, argv);
  g_app = &app;
  if (!app.InitInstance()) return 1;

  const char* only = argc > 1 && argv[1][0] != '-' ? argv[1] : nullptr;
  int failures = 0;
  int ran = 0;
  for (const auto& [name, factory] : Registry()) {
    if (only && name != only) continue;
    std::unique_ptr<QObject> test(factory());
    // After a class, QtTest's own arguments (the test functions to run).
    std::vector<char*> testArgs = {argv[0]};
    if (only) testArgs.insert(testArgs.end(), argv + 2, argv + argc);
    failures += QTest::qExec(test.get(), static_cast<int>(testArgs.size()), testArgs.data());
    ++ran;
  }
  if (ran == 0) {
    std::fprintf(stderr, "no test class named %s\n", only ? only : "(any)");
    return 2;
  }
  return failures == 0 ? 0 : 1;
}
