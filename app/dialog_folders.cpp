#include "app/dialog_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace f7301 {
namespace {

const char* const kLastFolderKey = "Archivos/UltimaCarpeta";
const char* const kLastDestinationKey = "Archivos/UltimoDestino";

}  // namespace

QString ProposedDestination() {
#ifdef Q_OS_WIN
  return QStringLiteral("C:\\");
#else
  return QDir::homePath();
#endif
}

QString NearestExistingFolder(const QString& path) {
  if (path.trimmed().isEmpty()) return {};
  QString candidate = QDir::cleanPath(QDir::fromNativeSeparators(path));
  for (;;) {
    const QFileInfo info(candidate);
    if (info.isDir()) return info.absoluteFilePath();
    const QString parent = info.dir().path();
    if (parent == candidate || parent == QLatin1String(".")) return {};
    candidate = parent;
  }
}

QString LastDeclarationFolder(const QString& fallback) {
  const QString last = QSettings().value(QLatin1String(kLastFolderKey)).toString();
  if (!last.isEmpty() && QFileInfo(last).isDir()) return last;
  return fallback;
}

void RememberDeclarationFolder(const QString& file) {
  QSettings().setValue(QLatin1String(kLastFolderKey), QFileInfo(file).absolutePath());
}

QString LastChosenDestination() {
  return QSettings().value(QLatin1String(kLastDestinationKey)).toString();
}

void RememberChosenDestination(const QString& folder) {
  QSettings().setValue(QLatin1String(kLastDestinationKey), QDir::cleanPath(folder));
}

}  // namespace f7301
