// Recovering a kept 500-row draft at start-up, in the program's own window:
// the time from the answer "Sí" until the form is back and ready to type in
// (the values on the page and the page laid out with them).
//
//   QT_QPA_PLATFORM=offscreen <build>/bench/draft_recovery_bench [runs]
//
// Each run starts the program (its start-up step offers the draft), with a
// fresh XDG_DATA_HOME holding the draft of an ended program. Two cases: the
// question answered at once, while the blank form is still loading, and
// answered once the form has loaded (a person reading the question).
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/draft_keeper.h"
#include "app/formulario_app.h"
#include "app/formulario_view.h"
#include "app/main_frame.h"
#include "app/modal_prompts.h"
#include "draft/draft_store.h"

namespace {

using namespace f7301;

std::string FullAnnexRecord() {
  std::string fields = R"("c2":"19","c3":"ESTACION EL SOL","mes_ini":"01","anio_ini":"2026")";
  for (int row = 1; row <= 500; ++row) {
    const std::string r = "f1" + std::to_string(row);
    fields += ",\"" + r + "c1\":\"19\",\"" + r + "c2\":\"1.00\",\"" + r + "c3\":\"DIESEL\"";
  }
  return R"({"filas":[0,500],"campos":{)" + fields + R"(,"c36":"500.00"},"foco":"c6"})";
}

void LeaveDraft(const QString& dataHome) {
  DraftStore ended((dataHome + "/Formulario7301").toStdString(), "1.1");
  Draft draft;
  draft.savedAtMs = 1;
  draft.page = FullAnnexRecord();
  if (!ended.Open() || !ended.Write(1, draft)) std::fprintf(stderr, "no draft written\n");
}

QVariant RunJs(QWebEnginePage& page, const QString& js) {
  QVariant result;
  bool done = false;
  page.runJavaScript(js, [&](const QVariant& v) {
    result = v;
    done = true;
  });
  if (!QTest::qWaitFor([&] { return done; }, 30000)) return {};
  return result;
}

// One start of the program; milliseconds from "Sí" to the form ready.
double OneRecovery(int& argc, char** argv, bool waitForPage) {
  QTemporaryDir dataHome;
  qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
  LeaveDraft(dataHome.path());
  CFormularioApp app(argc, argv);
  QElapsedTimer sinceYes;
  SetPromptAnswerer([&](const PromptRequest& request) -> std::optional<QString> {
    if (request.kind != PromptKind::Question) return std::nullopt;
    if (waitForPage) {
      const bool loaded = QTest::qWaitFor(
          [&] {
            auto* view = app.mainFrame()->view();
            return view->browser()->page()->url().toString().endsWith("/131") &&
                   RunJs(*view->browser()->page(), "document.readyState").toString() == "complete";
          },
          30000);
      if (!loaded) std::fprintf(stderr, "the blank form did not load\n");
    }
    sinceYes.start();
    return QStringLiteral("Sí");
  });
  if (!app.InitInstance()) return -1;
  QWebEnginePage& page = *app.mainFrame()->view()->browser()->page();
  // runJavaScript does not wait for promises: the check is synchronous, and
  // reading the layout makes the engine lay the 500 rows out first.
  const bool ready = QTest::qWaitFor(
      [&] {
        return RunJs(page,
                     "!!document.C && !!document.C.f1500c2 &&"
                     " document.C.f1500c2.value === '1.00' && document.body.offsetHeight > 0")
            .toBool();
      },
      60000);
  const double ms = ready ? static_cast<double>(sinceYes.nsecsElapsed()) / 1e6 : -1;
  SetPromptAnswerer({});
  return ms;
}

// Qt WebEngine starts once per process: each run is the bench started
// again as `draft_recovery_bench --once at-once|after-load`.
double RunOnce(const char* self, const char* mode) {
  const std::string command = std::string("\"") + self + "\" --once " + mode + " 2>/dev/null";
  FILE* child = popen(command.c_str(), "r");
  if (child == nullptr) return -1;
  double ms = -1;
  if (std::fscanf(child, "%lf", &ms) != 1) ms = -1;
  pclose(child);
  return ms;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 2 && std::string(argv[1]) == "--once") {
    int appArgc = 1;
    std::printf("%.1f\n", OneRecovery(appArgc, argv, std::string(argv[2]) == "after-load"));
    return 0;
  }
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  std::printf("recovering a 500-row draft, %d runs, milliseconds from \"Sí\"\n", runs);
  std::printf("| case | median | fastest | slowest |\n|---|---|---|---|\n");
  for (const char* mode : {"at-once", "after-load"}) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) times.push_back(RunOnce(argv[0], mode));
    std::sort(times.begin(), times.end());
    std::printf("| %s | %.1f | %.1f | %.1f |\n",
                std::string(mode) == "after-load" ? "answered after the form loaded"
                                                  : "answered at once, form loading",
                times[times.size() / 2], times.front(), times.back());
  }
  return 0;
}
