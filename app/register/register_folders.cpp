#include "app/register/register_folders.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include "app/dialog_folders.h"

namespace f7301 {
namespace {

const char* const kFoldersKey = "Declaraciones/Carpetas";
const char* const kFilesKey = "Declaraciones/Archivos";

QString Clean(const QString& path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

void AddOnce(QStringList& list, const QString& path) {
  if (path.isEmpty()) return;
  const QString clean = Clean(path);
  if (!list.contains(clean)) list.append(clean);
}

}  // namespace

QStringList RegisterFolders() {
  QSettings settings;
  if (settings.contains(QLatin1String(kFoldersKey))) {
    return settings.value(QLatin1String(kFoldersKey)).toStringList();
  }
  QStringList defaults;
  AddOnce(defaults, ProposedDestination());
  AddOnce(defaults, LastChosenDestination());
  return defaults;
}

void SetRegisterFolders(const QStringList& folders) {
  QStringList clean;
  for (const QString& folder : folders) AddOnce(clean, folder);
  QSettings().setValue(QLatin1String(kFoldersKey), clean);
}

QStringList RegisterExtraFiles() {
  return QSettings().value(QLatin1String(kFilesKey)).toStringList();
}

void RememberRegisterFile(const QString& file) {
  if (file.isEmpty()) return;
  QStringList files = RegisterExtraFiles();
  const QString clean = Clean(file);
  files.removeAll(clean);
  files.prepend(clean);
  while (files.size() > kMaxRegisterExtraFiles) files.removeLast();
  QSettings().setValue(QLatin1String(kFilesKey), files);
}

}  // namespace f7301
