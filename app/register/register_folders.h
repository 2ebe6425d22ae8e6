#pragma once
// Where the register of declarations looks, kept in the program's settings:
// the folders it scans and the declaration files met elsewhere (written by
// "Validar" or opened by Consultar or Modificar).
#include <QString>
#include <QStringList>

namespace f7301 {

// The user's list once it has been changed with "Agregar carpeta..." or
// "Quitar carpeta"; until then the destination "Directorio Destino" proposes
// and the one last chosen there.
QStringList RegisterFolders();
void SetRegisterFolders(const QStringList& folders);

// The files met outside the folders, newest first, at most
// kMaxRegisterExtraFiles of them.
inline constexpr int kMaxRegisterExtraFiles = 2000;
QStringList RegisterExtraFiles();
void RememberRegisterFile(const QString& file);

}  // namespace f7301
