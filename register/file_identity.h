#pragma once
// What a directory entry is, taken without opening it: files in the
// register's folders are untrusted, and a FIFO or a device is never opened.
#include <cstdint>
#include <filesystem>
#include <string>

#include "declaration/whole_file.h"

namespace f7301 {

enum class FileKind { kRegular, kDirectory, kSymlink, kFifo, kDevice, kSocket, kOther, kMissing };

// Whether a file changed since it was read. The change time is among them:
// a file rewritten with its size kept and its modification time set back
// (touch -m -d) still gets a new one, and so does a change of permissions.
struct FileIdentity {
  FileKind kind = FileKind::kMissing;
  std::int64_t size = 0;
  std::int64_t mtimeNs = 0;
  std::uint64_t inode = 0;
  std::uint64_t device = 0;
  std::int64_t ctimeNs = 0;
  bool operator==(const FileIdentity&) const = default;
};

// With LinkPolicy::kRefuse a symbolic link is itself the entry (kSymlink);
// with kFollow a link that leads nowhere, or round in a loop, is kMissing.
FileIdentity IdentityOf(const std::filesystem::path& path, LinkPolicy links);

// Why an entry of this kind is not read as a declaration; empty for kRegular.
std::string KindReason(FileKind kind);

}  // namespace f7301
