// Takes the README's picture of the program: starts it as a user would,
// waits for the blank form, and saves the screen of a real X display
// (run under xvfb-run). Usage: take_screenshot OUTPUT.png
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <cstdio>

#include "app/formulario_app.h"
#include "app/formulario_view.h"
#include "app/main_frame.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: take_screenshot OUTPUT.png\n");
    return 2;
  }
  const QString output = QString::fromLocal8Bit(argv[1]);
  int appArgc = 1;
  f7301::CFormularioApp app(appArgc, argv);
  if (!app.InitInstance()) return 1;
  // A bare X server has no window manager to maximise the window, nor to
  // make it active (the caret shows in the NIT box of an active window only).
  app.mainFrame()->setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
  app.mainFrame()->activateWindow();
  QWebEnginePage* page = app.mainFrame()->view()->browser()->page();
  bool loaded = false;
  QObject::connect(page, &QWebEnginePage::loadFinished, [&](bool ok) { loaded = ok; });
  if (!QTest::qWaitFor([&] { return loaded; }, 60000)) {
    std::fprintf(stderr, "take_screenshot: the form did not load\n");
    return 1;
  }
  QTest::qWait(3000);  // let the page paint
  const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0);
  if (!shot.save(output, "PNG")) {
    std::fprintf(stderr, "take_screenshot: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
