#include "tests/app/program_run.h"

#include <QProcess>
#include <QProcessEnvironment>

namespace f7301::test {

ProgramRun RunProgram(const QStringList& arguments, const QString& folder, const QString& home,
                      int timeoutMs) {
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  for (const char* display : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    env.remove(QString::fromLatin1(display));
  }
  env.insert(QStringLiteral("HOME"), home);
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
  env.insert(QStringLiteral("XDG_DATA_HOME"), home + QStringLiteral("/data"));
  env.insert(QStringLiteral("XDG_CACHE_HOME"), home + QStringLiteral("/cache"));
  QProcess child;
  child.setProcessEnvironment(env);
  child.setWorkingDirectory(folder);
  child.start(QStringLiteral(F7301_PROGRAM), arguments);
  ProgramRun run;
  run.finished = child.waitForFinished(timeoutMs) && child.exitStatus() == QProcess::NormalExit;
  if (!run.finished) {
    child.kill();
    child.waitForFinished();
  }
  run.exitCode = child.exitCode();
  run.out = QString::fromUtf8(child.readAllStandardOutput());
  run.err = QString::fromUtf8(child.readAllStandardError());
  return run;
}

}  // namespace f7301::test
