#pragma once
// Where the program's file and folder dialogs start: where the user works,
// not wherever the process happened to be started.
#include <QString>

namespace f7301 {

// The destination first proposed for a new declaration file: the user's home
// directory ("C:\" on Windows).
QString ProposedDestination();

// The folder that holds `path`, or the closest existing folder above it when
// it does not exist (yet); empty when nothing of it exists. The folder chooser
// starts there, from the text of the destination field.
QString NearestExistingFolder(const QString& path);

// The folder of the declaration last written or opened (kept in the program's
// settings across runs) while it still exists; else `fallback`. The "Buscar
// Archivo" dialog starts there.
QString LastDeclarationFolder(const QString& fallback);

// Keeps the folder of the declaration file `file` for LastDeclarationFolder.
void RememberDeclarationFolder(const QString& file);

// The folder last chosen in "Directorio Destino" for a declaration that was
// then written there (kept in the settings); empty when none was.
QString LastChosenDestination();
void RememberChosenDestination(const QString& folder);

}  // namespace f7301
