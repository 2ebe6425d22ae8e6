#pragma once
// Finding the declaration files in the register's folders: the program's
// own <folder>/<NIT>/7301/RTQ-... layout and folders of copied files, a few
// levels deep, never following a symbolic link and never opening a file.
#include <atomic>
#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

#include "register/file_identity.h"

namespace f7301 {

struct ScanLimits {
  // Folders read below each chosen folder: <folder>/1/2/3/4/RTQ-... is found.
  int maxDepth = 4;
  // Entries below each chosen folder; past it the walk of that folder stops,
  // with a message, and the next folder is walked all the same: a flood of
  // files in one folder does not hide the declarations of the others.
  std::size_t maxEntries = 100000;
};

struct FoundFile {
  std::filesystem::path file;
  FileIdentity identity;  // of the entry itself, links not followed
};

struct ScanResult {
  std::vector<FoundFile> files;       // entries named as "Validar" names files
  std::vector<std::string> problems;  // one line per chosen folder at most, and the limit
  std::size_t entries = 0;            // directory entries seen
  bool cancelled = false;
  bool stoppedAtLimit = false;
  // A chosen folder, or a folder below one, that is gone or could not be read.
  bool folderMissed = false;
  // Every folder was walked to its end: what is not found is not there.
  bool complete() const { return !cancelled && !stoppedAtLimit && !folderMissed; }
};

// Hidden folders (names starting with ".") are not entered: they hold
// programs' settings and caches, never a declaration "Validar" wrote, and
// under the home directory they are most of the entries.
ScanResult ScanFolders(const std::vector<std::filesystem::path>& folders,
                       const std::atomic<bool>& cancel, const ScanLimits& limits = {});

}  // namespace f7301
