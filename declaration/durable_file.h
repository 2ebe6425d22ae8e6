#pragma once
// The few system calls that make a replaced file safe against a crash or a
// power cut, kept apart so the rest of the core stays portable. On Linux the
// new content lives in an unnamed file until it is complete, so a killed
// program leaves nothing behind; elsewhere these report "not available" and
// callers fall back to a named temporary file.
#include <cstdio>
#include <filesystem>
#include <functional>

namespace f7301 {

// A new file in `directory` that has no name until LinkUnnamedFile gives it
// one, open for writing; null when the system or the file system has no such
// files.
std::FILE* OpenUnnamedFile(const std::filesystem::path& directory);

enum class LinkResult {
  kLinked,       // the file now has the name
  kNameTaken,    // something (a file, a link) already has that name
  kUnavailable,  // the file cannot be named here; nothing changed
};

// Gives the unnamed file `file` the name `path`, never replacing anything.
LinkResult LinkUnnamedFile(std::FILE* file, const std::filesystem::path& path);

// The system call that writes an open file's or folder's data through to
// the disk, 0 on success. Only a power cut shows one that is missing, so a
// test puts its own in place to see what reaches the disk and when, and to
// make it fail as a failing disk would.
using SyncCall = std::function<int(int descriptor)>;

// Puts `call` in place of the system's (an empty one restores the system's)
// and returns the one it replaces. Not for use while another thread writes.
SyncCall ReplaceSyncCall(SyncCall call);

// Writes what was written to `file` through to the disk.
bool SyncFile(std::FILE* file);

// Makes the names in `directory` (a new, renamed or removed entry) survive a
// power cut. True where the system has no such step.
bool SyncDirectory(const std::filesystem::path& directory);

}  // namespace f7301
