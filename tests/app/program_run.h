#pragma once
// The built program run as a child process, as a user runs it from a
// terminal: for the command-line forms, which show no window.
#include <QString>
#include <QStringList>

namespace f7301::test {

struct ProgramRun {
  bool finished = false;  // ended by itself within the time allowed
  int exitCode = -1;
  QString out;  // standard output
  QString err;  // standard error
};

// Runs the program with `arguments` in the folder `folder` and waits for it
// to end. Its environment has no display (no DISPLAY, WAYLAND_DISPLAY nor
// QT_QPA_PLATFORM) and keeps its settings, data and cache under `home`.
ProgramRun RunProgram(const QStringList& arguments, const QString& folder, const QString& home,
                      int timeoutMs = 120000);

}  // namespace f7301::test
